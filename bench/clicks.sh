#!/usr/bin/env bash
# Clicks on the see-through calendar as a person makes them, first without a compositor (the window's X shape), then
# with xcompmgr started while the calendar runs (a 32-bit window), then once more after it stopped: the pointer onto a blank pixel of a day and the
# click 0.1 s later must open the day's entry box; a click in the gap between two days must reach the desktop; a day
# with a memo must show its note 0.1 s after the pointer arrives. Then (bench/hover_clicks.sh) the pointer glides onto
# every kind of label and every toolbar button in each of the three toolbar modes, rests, and clicks. Prints the counts.
set -uo pipefail
cd "$(dirname "$0")/.."
for tool in Xvfb xdotool xev xrdb xcompmgr dbus-run-session /usr/bin/python3; do
  command -v "$tool" >/dev/null || { echo "clicks.sh needs $tool"; exit 0; }
done

work=$(mktemp -d)
. bench/xvfb.sh
trap 'kill $XVFB_PID 2>/dev/null; rm -rf "$work"' EXIT
start_xvfb || exit 1
make_program_folder
month=$(date +%Y/%m)
printf '[PROGRAM]\r\n%s/15=clicks.sh\r\n' "$month" >"$work/prog/Tsukiban.tdb"
export WORK=$work MONTH=$month ATSPI=$PWD/../shared/tools/atspi.py
[ -x "$ATSPI" ] || ATSPI=$(command -v atspi.py || true)
SESSION='
  /usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
  sleep 0.5
  if [ -n "${XFT_DPI:-}" ]; then
    # A client that stays connected keeps the resource from going with the server reset after the last one.
    xev -root -event property >/dev/null 2>&1 &
    keeper=$!
    sleep 0.2
    echo "Xft.dpi: $XFT_DPI" | xrdb -nocpp -merge
  fi
  QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$WORK/prog/tsukiban" >/dev/null 2>&1 &
  pid=$!
  for _ in $(seq 100); do xdotool search --pid $pid --name "^ツキバン$" >/dev/null 2>&1 && break; sleep 0.1; done
  sleep 1
  # Every day label with its screen rectangle: name x y w h; again after a compositor came or went, which may
  # move the window.
  dump_days() {
    /usr/bin/python3 "$ATSPI" dump | awk -F"\t" -v k="${ATSPI_SCALE:-1}" "\$2 == \"label\" && \$3 ~ /^[0-9]+\$/ { print \$3, int(\$4 * k), int(\$5 * k), int(\$6 * k), int(\$7 * k) }" >"$WORK/days"
  }
  dump_days
  [ -s "$WORK/days" ] || { echo "no day labels in the accessibility tree"; kill $pid; exit 1; }
  day() { awk -v d="$1" "\$1 == d { print \$2, \$3, \$4, \$5 }" "$WORK/days"; }
  away() { xdotool mousemove 5 5; sleep 0.3; }

  . bench/hover_clicks.sh
  round() {
    local opened=0 tries=0 through=0 notes=0 d x y w h key
    for d in 3 6 9 12 14 17 20 23 26 28; do
      read -r x y w h <<<"$(day $d)"
      key=$(printf "%s/%02d" "$MONTH" "$d")
      away
      xdotool mousemove $((x + 2)) $((y + h / 2))   # the left end of the cell: the number stands right-aligned
      sleep 0.1
      xdotool click 1
      tries=$((tries + 1))
      box_opened "$key" && opened=$((opened + 1))
      sleep 0.2
    done
    # The gap between two days of a row.
    local gap=8 x2 y2
    while :; do
      read -r x y w h <<<"$(day $gap)"; read -r x2 y2 _ _ <<<"$(day $((gap + 1)))"
      [ "$y" = "$y2" ] && break
      gap=$((gap + 1))
    done
    xev -root -event button >"$WORK/xev" 2>/dev/null &
    local xev=$!
    sleep 0.3
    for _ in 1 2 3 4 5; do
      away; xdotool mousemove $(((x + w + x2) / 2)) $((y + h / 2)); sleep 0.1; xdotool click 1; sleep 0.2
    done
    kill $xev 2>/dev/null; wait $xev 2>/dev/null
    through=$(grep -c "^ButtonPress" "$WORK/xev")
    # The day with a memo.
    read -r x y w h <<<"$(day 15)"
    for _ in 1 2 3 4 5; do
      away
      local before=$(xdotool search --onlyvisible --pid $pid 2>/dev/null | wc -l)
      xdotool mousemove $((x + 2)) $((y + h / 2)); sleep 0.1
      local after=$(xdotool search --onlyvisible --pid $pid 2>/dev/null | wc -l)
      [ "$after" -gt "$before" ] && notes=$((notes + 1))
    done
    echo "$1: entry box opened $opened of $tries; clicks between days reaching the desktop $through of 5; memo note shown within 0.1 s $notes of 5"
  }

  if [ -n "${SCALED:-}" ]; then
    round "$SCALED, no compositor"
    xcompmgr >/dev/null 2>&1 &
    cm=$!
    sleep 1.5
    dump_days
    round "$SCALED, xcompmgr"
    drag_round "$SCALED, xcompmgr"
    kill $cm
    sleep 1.5
    drag_round "$SCALED, no compositor"
    kill $pid ${keeper:-} 2>/dev/null
    exit 0
  fi
  round "no compositor"
  labels_round "no compositor"
  xcompmgr >/dev/null 2>&1 &
  cm=$!
  sleep 1.5
  round "xcompmgr"
  labels_round "xcompmgr"
  kill $cm
  sleep 1.5
  round "xcompmgr stopped"
  # Last, since the toolbar moves the month and opens windows.
  toolbar_round "no compositor"
  xcompmgr >/dev/null 2>&1 &
  cm=$!
  sleep 1.5
  toolbar_round "xcompmgr"
  quit_by_toolbar
  kill $cm
  kill $pid 2>/dev/null
'
[ -z "${SCALED_ONLY:-}" ] && dbus-run-session -- bash -c "$SESSION"
# HiDPI: the scale as Qt is told it, as a screen's factor, and as GNOME sets it through Xft.dpi at 150 and 200 %.
# Qt gives the accessibility tree logical pixels: ATSPI_SCALE turns them into the screen's.
for setting in "QT_SCALE_FACTOR=2 ATSPI_SCALE=2" "QT_SCREEN_SCALE_FACTORS=2 ATSPI_SCALE=2" "XFT_DPI=144 ATSPI_SCALE=1.5" \
  "XFT_DPI=192 ATSPI_SCALE=2"; do
  # shellcheck disable=SC2086
  env $setting SCALED="${setting%% *}" dbus-run-session -- bash -c "$SESSION"
  xrdb -nocpp -remove 2>/dev/null
done
