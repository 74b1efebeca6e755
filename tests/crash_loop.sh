#!/usr/bin/env bash
# A program that saves the data file in a loop is killed with SIGKILL at a random moment, again and again. After each
# kill the file must parse as one whole save, never older than the last one seen, and the next start must leave no
# temporary behind. About 15 s for 200 kills in the sanitizer build on two cores. Where the file system has O_TMPFILE
# the temporary has a name only for the moment before its rename, so few kills leave one.
#   tests/crash_loop.sh SAVE_LOOP_HELPER [KILLS]
set -euo pipefail
helper=$1
kills=${2:-200}
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT

last=0
removed=0
for ((i = 1; i <= kills; i++)); do
  "$helper" loop "$folder" &
  pid=$!
  sleep "$(printf '0.%03d' $((RANDOM % 80)))"
  kill -KILL "$pid"
  wait "$pid" 2>/dev/null || true
  if ! result=$("$helper" check "$folder"); then
    echo "kill $i: $result"
    exit 1
  fi
  read -r generation temporaries <<<"$result"
  if ((generation < last)); then
    echo "kill $i: the file went back from save $last to save $generation"
    exit 1
  fi
  last=$generation
  removed=$((removed + temporaries))
done
echo "$kills kills: every file one whole save (the last of $last saves), $removed temporaries removed at the next start"
