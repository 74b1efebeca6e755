#!/usr/bin/env bash
# Installs the Debian package into a fresh Debian 12 root and uses it there as a new user would: the terminal
# calendar, --help and --version, then the calendar itself under Xvfb for a few seconds, twice. Checks that --help and
# --version answer without writing a file, that the user's files were written in ~/.local/share/tsukiban, that the
# installed sample picture was shown, that the autostart entry starts the installed program and names it in TryExec,
# that with スタートメニューに登録 on the menu still shows the calendar once, and that removing the package leaves the
# user's files.
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

version=$(chroot "$root" tsukiban-cal --version)
echo "$version" | head -1
grep -q 'GPL' <<<"$version" || fail "tsukiban-cal --version names no licence"

step "tsukiban --help and --version, as a new user"
chroot "$root" useradd -m -s /bin/bash hanako
home=$root/home/hanako
data=$home/.local/share/tsukiban
before=$(cd "$home" && find . | sort)
# No display here: the answers need none.
chroot "$root" su - hanako -c 'tsukiban --version >/tmp/version.out 2>&1 && tsukiban --help >/tmp/help.out 2>&1' ||
  { cat "$root/tmp/version.out" "$root/tmp/help.out" 2>/dev/null; fail "tsukiban --version or --help failed"; }
head -1 "$root/tmp/version.out"
grep -q '^tsukiban 2\.5\.0 ' "$root/tmp/version.out" || fail "tsukiban --version gave no version"
grep -q -- '--version' "$root/tmp/help.out" || fail "tsukiban --help gave no usage"
[ "$(cd "$home" && find . | sort)" = "$before" ] || fail "tsukiban --version or --help wrote into the home"

# Starts the calendar under Xvfb for some seconds and takes a picture of the screen.
run_calendar() {
  chroot "$root" su - hanako -c "
    Xvfb :57 -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 & x=\$!
    sleep 1
    DISPLAY=:57 LANG=C.UTF-8 tsukiban >/tmp/tsukiban.out 2>&1 & t=\$!
    sleep $1
    DISPLAY=:57 xwd -root -silent >/tmp/screen.xwd
    kill \$t; wait \$t 2>/dev/null
    kill \$x; wait \$x 2>/dev/null
    true"
}

step "tsukiban under Xvfb, as a new user"
run_calendar 8
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
grep -q '^TryExec=/usr/bin/tsukiban$' "$autostart" || fail "the autostart entry has no TryExec"
grep -q '^Icon=tsukiban$' "$autostart" || fail "the autostart entry does not show the installed icon"
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$autostart" || fail "the autostart entry is not a valid desktop entry"
fi

step "スタートメニューに登録 on: the menu shows ツキバン once"
sed -i 's/^StartMenu=0/StartMenu=1/' "$data/Tsukiban.ini"
grep -q '^StartMenu=1' "$data/Tsukiban.ini" || fail "could not turn StartMenu on"
run_calendar 4
entries=$(grep -lx 'Name=ツキバン' "$root/usr/share/applications"/*.desktop "$home/.local/share/applications"/*.desktop \
  2>/dev/null | sed "s|^$root||" || true)
echo "menu entries named ツキバン: $entries"
[ "$entries" = /usr/share/applications/tsukiban.desktop ] || fail "the menu shows ツキバン other than once: $entries"

step "apt remove tsukiban"
chroot "$root" env DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq tsukiban </dev/null >/dev/null
[ ! -e "$root/usr/bin/tsukiban" ] || fail "/usr/bin/tsukiban is still there"
[ -s "$data/Tsukiban.ini" ] || fail "removing the package took the user's files"

step "all checks passed"
