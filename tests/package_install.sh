#!/usr/bin/env bash
# Installs the Debian package into a fresh Debian 12 root and uses it there as a new user would: the terminal
# calendar, then the calendar itself under Xvfb for a few seconds. Checks that the user's files were written in
# ~/.local/share/tsukiban, that the installed sample picture was shown, that the autostart entry starts the installed
# program, and that removing the package leaves the user's files.
#
# Usage (as root, with debootstrap and the Debian mirror reachable; not part of ./dev test, since it downloads a
# system): tests/package_install.sh [tsukiban_VERSION_ARCH.deb]     (default: the newest one in this folder)
set -euo pipefail
cd "$(dirname "$0")/.."

deb=${1:-$(ls -t tsukiban_*.deb 2>/dev/null | head -1)}
[ -f "$deb" ] || { echo "no package: run ./dev package first" >&2; exit 2; }
deb=$(realpath "$deb")
for tool in debootstrap chroot convert; do
  command -v "$tool" >/dev/null || { echo "needs $tool (apt-get install debootstrap imagemagick)" >&2; exit 2; }
done

started=$(date +%s)
root=$(mktemp -d /var/tmp/tsukiban-root.XXXXXX)
chmod 755 "$root" # it is the system's / for its users
cleanup() {
  umount "$root/proc" 2>/dev/null || true
  rm -rf "$root"
}
trap cleanup EXIT
step() { echo "== $(( $(date +%s) - started )) s: $*"; }
fail() { echo "FAILED: $*" >&2; exit 1; }

# The mirror this machine's apt uses.
mirror=$(grep -hoE '^(URIs:|deb) +https?://[^ ]+/debian/?( |$)' /etc/apt/sources.list /etc/apt/sources.list.d/* \
  2>/dev/null | grep -oE 'https?://[^ ]+' | head -1 || true)
mirror=${mirror:-http://deb.debian.org/debian}

step "debootstrap bookworm from $mirror"
debootstrap --variant=minbase bookworm "$root" "$mirror" >"$root.log" 2>&1 || { tail -20 "$root.log"; fail debootstrap; }
rm -f "$root.log"
mount -t proc proc "$root/proc"

step "apt install ./$(basename "$deb")"
cp "$deb" "$root/tmp/"
# Recommends (the Noto CJK fonts, xdg-utils) are left out to keep the download small; Xvfb and xwd are the test's.
chroot "$root" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
  "/tmp/$(basename "$deb")" xvfb x11-apps </dev/null >/dev/null 2>"$root/tmp/apt.err" || {
  cat "$root/tmp/apt.err"
  fail "apt install"
}
chroot "$root" dpkg -s tsukiban | grep -q '^Status: install ok installed' || fail "the package is not installed"

step "tsukiban-cal 2026-05"
cal=$(chroot "$root" tsukiban-cal 2026-05)
echo "$cal"
grep -q '憲法記念日' <<<"$cal" || fail "tsukiban-cal shows no 憲法記念日 in May 2026"

step "tsukiban under Xvfb, as a new user"
chroot "$root" useradd -m -s /bin/bash hanako
chroot "$root" su - hanako -c '
  Xvfb :57 -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 & x=$!
  sleep 1
  DISPLAY=:57 LANG=C.UTF-8 tsukiban >/tmp/tsukiban.out 2>&1 & t=$!
  sleep 8
  DISPLAY=:57 xwd -root -silent >/tmp/screen.xwd
  kill $t; wait $t 2>/dev/null
  kill $x; wait $x 2>/dev/null
  true'
home=$root/home/hanako
data=$home/.local/share/tsukiban
[ -s "$data/Tsukiban.ini" ] || { cat "$root/tmp/tsukiban.out"; fail "no $data/Tsukiban.ini"; }
iconv -f CP932 -t UTF-8 "$data/Tsukiban.ini" | grep -q '^Back_PicturePath=/usr/share/tsukiban/Sample/' ||
  fail "the picture folder is not the installed sample folder"
# The calendar alone is a handful of flat colours; the sample picture brings thousands.
colours=$(convert "xwd:$root/tmp/screen.xwd" -format '%k' info:)
echo "colours on the screen: $colours"
[ "$colours" -gt 1000 ] || fail "the sample picture was not shown ($colours colours)"
convert "xwd:$root/tmp/screen.xwd" /tmp/tsukiban-installed.png && echo "screenshot: /tmp/tsukiban-installed.png"
autostart=$home/.config/autostart/ツキバン.desktop
grep -q '^Exec=/usr/bin/tsukiban$' "$autostart" || fail "no autostart entry for /usr/bin/tsukiban"

step "apt remove tsukiban"
chroot "$root" env DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq tsukiban </dev/null >/dev/null
[ ! -e "$root/usr/bin/tsukiban" ] || fail "/usr/bin/tsukiban is still there"
[ -s "$data/Tsukiban.ini" ] || fail "removing the package took the user's files"

step "all checks passed"
