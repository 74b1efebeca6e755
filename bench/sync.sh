#!/usr/bin/env bash
# The sync with a CalDAV server: the first sync of N memos (2,000) and an incremental sync after one change, by
# tsukiban-cal --sync against Radicale, beside vdirsyncer syncing the same N events from a folder to another calendar
# of the same server in the same run. Goal: the first sync in at most half of vdirsyncer's time, the incremental one
# under a second. Beside them, the server's own floor: the same N events sent as bare PUTs, one after another over one
# kept-alive connection, by a client that does nothing else (no listing, no parsing, no status).
set -uo pipefail
cd "$(dirname "$0")/.."
N=${N:-2000}
CAL=${TSUKIBAN_CAL:-build/tsukiban-cal}
PY=/usr/bin/python3
[ -x "$CAL" ] || { echo "sync.sh needs $CAL (./dev bench builds it)"; exit 1; }
command -v radicale >/dev/null && command -v vdirsyncer >/dev/null || { echo "sync.sh needs radicale and vdirsyncer"; exit 0; }

work=$(mktemp -d)
rad=
trap '[ -n "$rad" ] && kill $rad 2>/dev/null; rm -rf "$work"' EXIT
port=$($PY -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
cat >"$work/radicale.conf" <<CONF
[server]
hosts = 127.0.0.1:$port
[auth]
type = htpasswd
htpasswd_filename = $work/users
htpasswd_encryption = plain
delay = 0
[storage]
filesystem_folder = $work/store
[logging]
level = error
CONF
echo "bench:bench" >"$work/users"
$PY -m radicale --config "$work/radicale.conf" >"$work/radicale.log" 2>&1 &
rad=$!
for _ in $(seq 100); do curl -s -o /dev/null "http://127.0.0.1:$port/" && break; sleep 0.1; done
base=http://127.0.0.1:$port/bench
for cal in tsukiban vdir floor; do
  code=$(curl -s -o /dev/null -w '%{http_code}' -u bench:bench -X MKCALENDAR "$base/$cal/")
  [ "$code" = 201 ] || { echo "MKCALENDAR $cal: HTTP $code"; exit 1; }
done

# The same N memos as a data file and as a folder of events, one a day from 2027-01-01.
mkdir -p "$work/data" "$work/events"
$PY - "$N" "$work" <<'PY'
import datetime, sys
n, work = int(sys.argv[1]), sys.argv[2]
day0 = datetime.date(2027, 1, 1)
lines = ["[PROGRAM]"]
for i in range(n):
    day = day0 + datetime.timedelta(days=i)
    text = f"打ち合わせ {i}\\CRLF\\資料 {i} 部、会議室 {i % 7}"
    lines.append(f"{day:%Y/%m/%d}={text}")
    with open(f"{work}/events/memo-{day:%Y%m%d}.ics", "w", encoding="utf-8", newline="") as f:
        f.write("BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//bench//EN\r\nBEGIN:VEVENT\r\n"
                f"UID:memo-{day:%Y%m%d}@bench\r\nDTSTAMP:20261201T000000Z\r\n"
                f"DTSTART;VALUE=DATE:{day:%Y%m%d}\r\nDTEND;VALUE=DATE:{day + datetime.timedelta(days=1):%Y%m%d}\r\n"
                f"SUMMARY:打ち合わせ {i}\r\nDESCRIPTION:打ち合わせ {i}\\n資料 {i} 部、会議室 {i % 7}\r\n"
                "TRANSP:TRANSPARENT\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n")
open(f"{work}/data/Tsukiban.tdb", "wb").write(("\r\n".join(lines) + "\r\n").encode("cp932"))
PY
printf '[SYNC]\r\nSync_Enabled=1\r\nSync_Url=%s/tsukiban/\r\nSync_User=bench\r\n' "$base" >"$work/data/Tsukiban.ini"
cat >"$work/vdirsyncer.conf" <<CONF
[general]
status_path = "$work/vdirsyncer-status/"
[pair bench]
a = "local"
b = "remote"
collections = null
[storage local]
type = "filesystem"
path = "$work/events/"
fileext = ".ics"
[storage remote]
type = "caldav"
url = "$base/vdir/"
username = "bench"
password = "bench"
CONF

ms() { echo $((($2 - $1) / 1000000)); }
export TSUKIBAN_SYNC_PASSWORD=bench

# discover only records the pair's collections; it is part of setting up, not of the sync.
vdirsyncer -c "$work/vdirsyncer.conf" discover bench >"$work/vdirsyncer.log" 2>&1 </dev/null
t0=$(date +%s%N)
vdirsyncer -c "$work/vdirsyncer.conf" sync >>"$work/vdirsyncer.log" 2>&1 || { echo "vdirsyncer failed:"; tail -5 "$work/vdirsyncer.log"; exit 1; }
t1=$(date +%s%N)
vdir_first=$(ms $t0 $t1)

"$PY" - "$port" "$work/events" >"$work/floor.txt" <<'PY'
import base64, http.client, os, sys, time
port, folder = int(sys.argv[1]), sys.argv[2]
auth = {"Authorization": "Basic " + base64.b64encode(b"bench:bench").decode(),
        "Content-Type": "text/calendar; charset=utf-8", "If-None-Match": "*"}
bodies = [(name, open(os.path.join(folder, name), "rb").read()) for name in sorted(os.listdir(folder))]
c = http.client.HTTPConnection("127.0.0.1", port)
t0 = time.monotonic()
for name, body in bodies:
    c.request("PUT", f"/bench/floor/{name}", body, auth)
    r = c.getresponse()
    r.read()
    if r.status != 201:
        sys.exit(f"PUT {name}: HTTP {r.status}")
print(int((time.monotonic() - t0) * 1000))
PY
[ $? -eq 0 ] || { echo "floor PUTs failed:"; cat "$work/floor.txt"; exit 1; }
floor=$(cat "$work/floor.txt")

t0=$(date +%s%N)
"$CAL" --sync --data "$work/data" >"$work/first.txt" 2>&1 || { echo "tsukiban-cal failed:"; cat "$work/first.txt"; exit 1; }
t1=$(date +%s%N)
first=$(ms $t0 $t1)

# One memo changed here, then the incremental sync; vdirsyncer after one changed file, the same way.
$PY - "$work" <<'PY'
import sys
path = sys.argv[1] + "/data/Tsukiban.tdb"
data = open(path, "rb").read().decode("cp932").replace("2027/01/01=打ち合わせ 0", "2027/01/01=打ち合わせ 0 (変更)", 1)
open(path, "wb").write(data.encode("cp932"))
PY
sed -i 's/SUMMARY:打ち合わせ 0$/SUMMARY:打ち合わせ 0 (変更)\r/' "$work/events/memo-20270101.ics"
t0=$(date +%s%N)
"$CAL" --sync --data "$work/data" >"$work/again.txt" 2>&1 || { echo "tsukiban-cal failed:"; cat "$work/again.txt"; exit 1; }
t1=$(date +%s%N)
again=$(ms $t0 $t1)
t0=$(date +%s%N)
vdirsyncer -c "$work/vdirsyncer.conf" sync >>"$work/vdirsyncer.log" 2>&1
t1=$(date +%s%N)
vdir_again=$(ms $t0 $t1)

events=$(find "$work/store/collection-root/bench/tsukiban" -maxdepth 1 -name '*.ics' | wc -l)
echo "first sync of $N memos: tsukiban-cal ${first} ms, vdirsyncer ${vdir_first} ms ($(cat "$work/first.txt"))"
echo "the server alone: $N bare PUTs one after another ${floor} ms (the cost of N new events to the server itself)"
echo "incremental after one change: tsukiban-cal ${again} ms, vdirsyncer ${vdir_again} ms ($(cat "$work/again.txt"))"
echo "events on the server: $events"
verdict=ok
[ $((first * 2)) -le "$vdir_first" ] || verdict="first sync slower than half of vdirsyncer"
[ "$again" -lt 1000 ] || verdict="incremental sync over 1 s"
echo "goal (first <= vdirsyncer/2, incremental < 1 s): $verdict"
