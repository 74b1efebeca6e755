#!/usr/bin/env bash
# Idle cost: the calendar shown with its clock running and the mouse still, CPU time over SECONDS (default 60)
# under Xvfb, read from /proc/PID/stat. Target: under 0.2 % of one core.
set -uo pipefail
cd "$(dirname "$0")/.."
SECONDS_TO_MEASURE=${SECONDS_TO_MEASURE:-60}
command -v Xvfb >/dev/null || { echo "idle.sh needs Xvfb"; exit 0; }

work=$(mktemp -d)
. bench/xvfb.sh
pid=
trap 'kill $pid $XVFB_PID 2>/dev/null; rm -rf "$work"' EXIT
start_xvfb || exit 1
make_program_folder
"$work/prog/tsukiban" >/dev/null 2>&1 &
pid=$!
sleep 3 # start-up done

ticks() { awk '{print $14 + $15}' "/proc/$pid/stat"; }
hz=$(getconf CLK_TCK)
before=$(ticks)
sleep "$SECONDS_TO_MEASURE"
after=$(ticks)
awk -v t=$((after - before)) -v hz="$hz" -v s="$SECONDS_TO_MEASURE" \
    'BEGIN { printf "tsukiban idle: %d ticks of CPU in %d s = %.3f %% of one core\n", t, s, 100 * t / hz / s }'
