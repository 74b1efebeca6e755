#!/usr/bin/env bash
# Start-up time to a mapped window under Xvfb: ツキバン against gsimplecal, a small desktop calendar a user might pick
# instead, measured the same way in the same run. Median of RUNS starts each.
set -uo pipefail
cd "$(dirname "$0")/.."
RUNS=${RUNS:-15}
command -v Xvfb >/dev/null && command -v xdotool >/dev/null || { echo "startup.sh needs Xvfb and xdotool"; exit 0; }

work=$(mktemp -d)
. bench/xvfb.sh
pid=
trap 'kill $XVFB_PID 2>/dev/null; rm -rf "$work"' EXIT
start_xvfb || exit 1

# A program folder of its own, started once so that later starts find their settings.
make_program_folder

# Milliseconds from launch to a viewable window; $1 is the xdotool search, the rest the command.
measure() {
    local search=$1
    shift
    local t0 t1
    t0=$(date +%s%N)
    "$@" >/dev/null 2>>"$work/stderr.log" &
    local pid=$!
    local deadline=$((t0 + 20000000000))
    until xdotool search --onlyvisible $search >/dev/null 2>&1; do
        if [ "$(date +%s%N)" -gt $deadline ] || ! kill -0 "$pid" 2>/dev/null; then
            echo "no window from $1:" >&2
            tail -3 "$work/stderr.log" >&2
            return 1
        fi
        sleep 0.002
    done
    t1=$(date +%s%N)
    kill "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
    echo $(((t1 - t0) / 1000000))
}

median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }

measure "--name ツキバン" "$work/prog/tsukiban" >/dev/null # first start writes the settings
ours=$(for _ in $(seq "$RUNS"); do measure "--name ツキバン" "$work/prog/tsukiban"; done | median)
echo "tsukiban   start-up to mapped window: ${ours} ms (median of $RUNS)"
if command -v gsimplecal >/dev/null; then
    theirs=$(for _ in $(seq "$RUNS"); do HOME=$work measure "--class gsimplecal" gsimplecal; done | median)
    echo "gsimplecal start-up to mapped window: ${theirs} ms (median of $RUNS)"
else
    echo "gsimplecal not installed: no comparison"
fi

# The calendar shows before the sticky notes are read: a 50 MB note of 700,000 lines beside an empty Fusen folder.
mkdir -p "$work/prog/Fusen"
ours_empty=$(for _ in $(seq 5); do measure "--name ツキバン" "$work/prog/tsukiban"; done | median)
python3 - "$work/prog/Fusen/big.rtf" <<'PY'
import sys
line = b"\\u12354?\\u12356? 50 MB note line of a sticky note, read after the calendar shows\\par\n"
with open(sys.argv[1], "wb") as f:
    f.write(b"{\\rtf1\\ansi\\ansicpg932\\deff0{\\fonttbl{\\f0 IPAPGothic;}}\\f0\\fs20\n")
    f.write(line * 700000)
    f.write(b"}\n")
PY
ours_big=$(for _ in $(seq 5); do measure "--name ツキバン" "$work/prog/tsukiban"; done | median)
echo "tsukiban   start-up with an empty Fusen folder: ${ours_empty} ms, with a $(($(stat -c %s "$work/prog/Fusen/big.rtf") / 1000000)) MB note: ${ours_big} ms (median of 5)"
