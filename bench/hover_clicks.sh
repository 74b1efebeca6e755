# Sourced by clicks.sh inside its session ($pid the calendar, $ATSPI the accessibility driver, $WORK a scratch
# folder): clicks as a person makes them on the toolbar and on every kind of label. The pointer glides in small
# steps, rests 0.1 to 1.5 s, then clicks; a click must reach the calendar, never the desktop behind it (xev on the
# root window counts those), and a toolbar button's command must run.

# The calendar window's rectangle: x y w h.
calendar_rect() {
  local w; w=$(xdotool search --onlyvisible --pid $pid --name "^ツキバン\$" 2>/dev/null | head -1)
  xdotool getwindowgeometry --shell "$w" | awk -F= '/^(X|Y|WIDTH|HEIGHT)=/ { printf "%s ", $2 }'
}
# name x y w h of every named control of a role with a size, within the calendar window (other windows are put
# aside; the toolbar's separators have no name).
controls() {
  local cx cy cw ch; read -r cx cy cw ch <<<"$(calendar_rect)"
  /usr/bin/python3 "$ATSPI" dump | awk -F'\t' -v r="$1" -v cx="$cx" -v cy="$cy" -v cw="$cw" -v ch="$ch" \
    -v k="${ATSPI_SCALE:-1}" '{ $4 = int($4 * k); $5 = int($5 * k); $6 = int($6 * k); $7 = int($7 * k) }
    $2 == r && $3 != "" && $6 > 0 && $7 > 0 && $4 >= cx && $5 >= cy && $4 < cx + cw && $5 < cy + ch { print $3 "\t" $4 "\t" $5 "\t" $6 "\t" $7 }'
}
title_text() { controls label | awk -F'\t' '$1 ~ /年/ { print $1; exit }'; }
shown_windows() { xdotool search --onlyvisible --pid $pid 2>/dev/null | sort; }
root_presses() { local n; n=$(grep -c "^ButtonPress" "$WORK/xev.root" 2>/dev/null); echo "${n:-0}"; }

# From far away to (x, y) in steps of 20 ms, as a hand moves a mouse.
glide_to() {
  local x=$1 y=$2 steps=${3:-11} i fx=$(( $1 - 120 )) fy=$(( $2 + 60 ))
  for i in $(seq 1 "$steps"); do
    xdotool mousemove $((fx + (x - fx) * i / steps)) $((fy + (y - fy) * i / steps)); sleep 0.02
  done
}

# The titled windows the last click opened (tooltips have no title).
new_windows() {
  local w
  for w in $(comm -13 "$WORK/windows.before" <(shown_windows)); do
    [ -n "$(xdotool getwindowname "$w" 2>/dev/null)" ] && echo "$w"
  done
}
# Windows the last click opened are put aside below and left of the calendar, out of its way.
put_aside() {
  local w
  for w in $(new_windows); do xdotool windowmove "$w" 0 600 2>/dev/null; done
}

# Whether the entry box of a day (its title the day key) came up within a second; it is closed again with Escape,
# sent to the box, which has the focus (a key sent to a window that then closes stays held down).
box_opened() {
  local win
  for _ in $(seq 10); do
    if win=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1) && [ -n "$win" ]; then
      xdotool key Escape; return 0
    fi
    sleep 0.1
  done
  return 1
}

rests=(0.1 0.5 1.0 1.5)
toolbar_round() { # label of the round
  local took=0 tried=0 through=0 n=0 name x y w h before after ran presses failed="" opened=""
  xev -root -event button >"$WORK/xev.root" 2>/dev/null &
  local xev=$!
  sleep 0.3
  local mode
  # Three rounds, one per mode: the mode button, clicked last in each, moves on to the next.
  for mode in 1 2 3; do
    # In the toolbar's order (当月 after 1ヶ月前 has a month to come back from); the mode button last.
    controls "push button" >"$WORK/all"
    grep -v -e "^ﾂｰﾙﾊﾞｰの表示設定" "$WORK/all" >"$WORK/buttons"
    grep -e "^ﾂｰﾙﾊﾞｰの表示設定" "$WORK/all" >>"$WORK/buttons"
    mode=$(($(wc -l <"$WORK/buttons")))-buttons
    while IFS=$'\t' read -r name x y w h; do
      [ -z "$name" ] && continue
      [ "$name" = "終了" ] && continue # last of all
      n=$((n + 1)); tried=$((tried + 1))
      before=$(title_text); shown_windows >"$WORK/windows.before"
      presses=$(root_presses)
      xdotool mousemove 5 5; sleep 0.2
      glide_to $((x + w / 2)) $((y + h / 2))
      sleep "${rests[$((n % 4))]}"
      xdotool click 1; sleep 0.6
      ran=0
      case "$name" in
        1年前|1ヶ月前|当月|1ヵ月後|1年後) [ "$(title_text)" != "$before" ] && ran=1 ;;
        ﾂｰﾙﾊﾞｰの表示設定) ran=1 ;;
        メモ一覧表示|予定表取込|付箋|オプション|画像フォルダ変更)
          # A window opened before is brought forward instead: it is still shown.
          if [ -n "$(new_windows)" ]; then ran=1; opened="$opened|$name|";
          elif [[ "$opened" == *"|$name|"* ]] && [ -n "$(shown_windows)" ]; then ran=1; fi
          if [ "$name" = "画像フォルダ変更" ]; then xdotool key Escape; sleep 0.3; else put_aside; fi ;;
        *) ran=1 ;; # the picture steps show nothing here: the click reached the window (counted below)
      esac
      [ "$(root_presses)" -gt "$presses" ] && { ran=0; through=$((through + 1)); }
      if [ $ran = 1 ]; then took=$((took + 1)); else failed="$failed $mode:$name"; fi
      # The mode button has moved on to the next mode: its own round begins.
      [ "$name" = "ﾂｰﾙﾊﾞｰの表示設定" ] && break
    done <"$WORK/buttons"
  done
  kill $xev 2>/dev/null; wait $xev 2>/dev/null
  echo "$1: toolbar buttons taking a hover-then-click (rest 0.1-1.5 s) $took of $tried; clicks reaching the desktop $through${failed:+; missed:$failed}"
}

labels_round() { # label of the round
  local x y w h kind through=0 tries=0 opened=0 menus=0 key
  xev -root -event button >"$WORK/xev.root" 2>/dev/null &
  local xev=$!
  sleep 0.3
  # A blank pixel of every kind of label: the title, the clock, a weekday header, a day, a rokuyo. A left click
  # there starts a drag of the window (nothing to see when the mouse does not move), never a click on the desktop.
  controls label | awk -F'\t' '$1 != ""' >"$WORK/labels"
  local pattern
  for pattern in '$1 ~ /年/' '$1 ~ /:/' '$1 == "水"' '$1 == "17"' '$1 ~ /大安/'; do
    IFS=$'\t' read -r _ x y w h < <(awk -F'\t' "$pattern" "$WORK/labels" | head -1)
    local rest
    for rest in "${rests[@]}"; do
      tries=$((tries + 1))
      xdotool mousemove 5 5; sleep 0.2
      glide_to $((x + 1)) $((y + h - 2))
      sleep "$rest"; xdotool click 1; sleep 0.3
    done
  done
  local glided; glided=$(root_presses)
  # A right click on the title sent as the pointer arrives opens the menu.
  IFS=$'\t' read -r _ x y w h < <(awk -F'\t' '$1 ~ /年/' "$WORK/labels" | head -1)
  for _ in 1 2 3 4 5; do
    xdotool mousemove 5 5; sleep 0.2
    shown_windows >"$WORK/windows.before"
    xdotool mousemove $((x + 1)) $((y + h - 2)) click 3; sleep 0.5
    [ -n "$(comm -13 "$WORK/windows.before" <(shown_windows))" ] && menus=$((menus + 1)) # the menu has no title
    xdotool key Escape; sleep 0.3
  done
  # Days after an ordinary glide from day 1 to day 15 and a rest of a second.
  local x1 y1 x15 y15 h15
  IFS=$'\t' read -r _ x1 y1 _ _ < <(awk -F'\t' '$1 == "1"' "$WORK/labels" | head -1)
  IFS=$'\t' read -r _ x15 y15 _ h15 < <(awk -F'\t' '$1 == "15"' "$WORK/labels" | head -1)
  key=$(printf "%s/15" "$MONTH")
  for _ in $(seq 10); do
    xdotool mousemove 5 5; sleep 0.2
    xdotool mousemove $((x1 + 12)) $((y1 + 8)); sleep 0.1
    local i
    for i in $(seq 1 11); do xdotool mousemove $((x1 + 12 + (x15 + 2 - x1 - 12) * i / 11)) $((y1 + 8 + (y15 + h15 / 2 - y1 - 8) * i / 11)); sleep 0.02; done
    sleep 1; xdotool click 1
    box_opened "$key" && opened=$((opened + 1))
    sleep 0.2
  done
  kill $xev 2>/dev/null; wait $xev 2>/dev/null
  echo "$1: blank pixels of title, clock, header, day, rokuyo clicked after a glide and a rest, reaching the desktop $glided of $tries; menu on a right click on the title as the pointer arrives $menus of 5; day 15 opened after a glide and a rest $opened of 10; all clicks reaching the desktop $(root_presses) of $((tries + 15))"
}

quit_by_toolbar() {
  local name x y w h
  # All buttons: the mode button goes round to them.
  until controls "push button" | grep -q "^終了"; do
    IFS=$'\t' read -r name x y w h < <(controls "push button" | grep -m1 "^ﾂｰﾙﾊﾞｰの表示設定")
    xdotool mousemove $((x + 10)) $((y + h / 2)) click 1; sleep 0.5
  done
  IFS=$'\t' read -r name x y w h < <(controls "push button" | grep -m1 "^終了")
  [ -z "$name" ] && { echo "toolbar: no quit button shown"; return; }
  xdotool mousemove 5 5; sleep 0.2; glide_to $((x + w / 2)) $((y + h / 2)); sleep 0.7; xdotool click 1
  for _ in $(seq 30); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done
  kill -0 $pid 2>/dev/null && echo "toolbar: 終了 after a hover did not end the program" || echo "toolbar: 終了 after a hover ended the program"
}

# The window dragged by a blank pixel of its title, in small steps: it must follow the pointer.
drag_round() { # label of the round
  local moved=0 x y w h cx cy cx2 cy2 i
  for _ in 1 2 3; do
    IFS=$'\t' read -r _ x y w h < <(controls label | awk -F'\t' '$1 ~ /年/' | head -1)
    read -r cx cy _ _ <<<"$(calendar_rect)"
    xdotool mousemove 5 5; sleep 0.2
    glide_to $((x + 1)) $((y + h - 2)); sleep 0.3
    xdotool mousedown 1
    for i in $(seq 1 10); do xdotool mousemove $((x + 1 - 4 * i)) $((y + h - 2 + 3 * i)); sleep 0.03; done
    sleep 0.2; xdotool mouseup 1; sleep 0.5
    read -r cx2 cy2 _ _ <<<"$(calendar_rect)"
    [ $((cx - cx2)) -ge 30 ] && [ $((cy2 - cy)) -ge 20 ] && moved=$((moved + 1))
  done
  echo "$1: window dragged by its title $moved of 3"
}
