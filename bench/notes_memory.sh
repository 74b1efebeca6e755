#!/usr/bin/env bash
# Resident memory with twenty sticky notes on the desktop, against gsimplecal showing its calendar, each alone on its
# own Xvfb screen in the same run: VmRSS three seconds after start. Target: ours under 1.5 x gsimplecal's.
set -uo pipefail
cd "$(dirname "$0")/.."
command -v Xvfb >/dev/null && command -v xdotool >/dev/null || { echo "notes_memory.sh needs Xvfb and xdotool"; exit 0; }

work=$(mktemp -d)
. bench/xvfb.sh
trap 'rm -rf "$work"' EXIT
make_program_folder

rss_kb() { awk '/^VmRSS:/ { print $2 }' /proc/"$1"/status; }

# Resident memory of "$@" once it has been up for three seconds.
resident() {
    start_xvfb || return 1
    "$@" >/dev/null 2>&1 &
    local pid=$!
    sleep 3
    local kb
    kb=$(rss_kb $pid)
    # The notes on the screen, so that a count of 20 shows they were all brought up.
    xdotool search --onlyvisible --name '^note[0-9]+\.rtf$' 2>/dev/null | wc -l >"$work/notes_shown"
    kill $pid 2>/dev/null
    wait $pid 2>/dev/null
    kill $XVFB_PID 2>/dev/null
    wait $XVFB_PID 2>/dev/null
    echo "$kb"
}

# A first start writes the settings; then twenty notes, in a row of four across the screen.
resident "$work/prog/tsukiban" >/dev/null
mkdir -p "$work/prog/Fusen"
for i in $(seq -w 1 20); do
    printf '{\\rtf1\\ansi\\ansicpg932{\\fonttbl{\\f0\\fnil\\fcharset128 IPAGothic;}}\\f0\\fs20 Note %s: \\u20184?\\u31627?\\u12398?\\u12513?\\u12514?\\par}' \
        "$i" >"$work/prog/Fusen/note$i.rtf"
    n=$((10#$i - 1))
    printf '[note%s.rtf]\r\nFusen_Back_Color=HC0FFFF\r\nFusen_Top=%d\r\nFusen_Left=%d\r\nFusen_Height=1800\r\nFusen_Width=2400\r\nFusen_Disp=0\r\nFusen_Folder_Color=\x90\xc2\x90\x46\r\n' \
        "$i" $((600 + (n / 4) * 2000)) $((6000 + (n % 4) * 2600)) >>"$work/prog/Tsukiban.ini"
done

ours=$(resident "$work/prog/tsukiban")
echo "tsukiban with $(cat "$work/notes_shown") notes shown: ${ours} kB resident"
if command -v gsimplecal >/dev/null; then
    theirs=$(HOME=$work resident gsimplecal)
    echo "gsimplecal: ${theirs} kB resident"
    awk -v a="$ours" -v b="$theirs" 'BEGIN { printf "ratio: %.2f (target: under 1.5)\n", a / b }'
else
    echo "gsimplecal not installed: no comparison"
fi
