#!/usr/bin/env bash
# Soak test of the network data source: quendra-host --listen with 64 clients sending for 60 seconds. Every block
# must arrive exactly once and in order per client, and the harness's resident memory must stay flat after the
# first phase. Rows are printed as JSON lines, which the harness streams (tables and CSV wait for the end).   tests/soak/soak.sh BUILD_DIR [SECONDS] [CLIENTS]
set -euo pipefail
build=${1:?usage: soak.sh BUILD_DIR [SECONDS] [CLIENTS]}
seconds=${2:-60}
clients=${3:-64}
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"; [[ -n ${host_pid:-} ]] && kill "$host_pid" 2>/dev/null || true' EXIT
printf '[Common]\r\nExport nodes=False\r\n' > "$work/settings.ini"

"$build/tools/host/quendra-host" --plugin "$build/src/exports/libquendra.so" --settings "$work/settings.ini" \
  --format jsonl --hide FULL_DATA_PACKET,DATA_PACKET,DATE_TIME_STAMP,DATA_SOURCE_ID,DATA_SOURCE_FULL_NAME,DATA_SOURCE_NAME \
  --listen 0 --max-seconds $((seconds + 15)) > "$work/rows.jsonl" 2> "$work/host.err" &
host_pid=$!
for _ in $(seq 50); do grep -q "listening on" "$work/host.err" 2>/dev/null && break; sleep 0.2; done
port=$(sed -n 's/.*listening on 127.0.0.1:\([0-9]*\).*/\1/p' "$work/host.err")
[[ -n $port ]] || { cat "$work/host.err" >&2; exit 1; }

rss() { awk '/VmRSS/ {print $2}' "/proc/$host_pid/status"; }
python3 "$here/send_blocks.py" "$port" "$clients" "$seconds" > "$work/sent.txt" &
sender=$!
# Sample every few seconds; "early" is taken once every client runs at full speed (a third of the run).
samples=()
for ((t = 0; t < seconds; t += 5)); do
  sleep 5
  samples+=("$(rss)")
  (( t + 5 == seconds / 3 / 5 * 5 )) && early=${samples[-1]}
done
early=${early:-${samples[0]}}
wait "$sender"; late=$(rss)
echo "resident memory every 5 s (KiB): ${samples[*]}"
wait "$host_pid"; host_pid=
echo "resident memory: ${early} KiB after a third of the run, ${late} KiB at the end"

python3 - "$work/rows.jsonl" "$work/sent.txt" <<'PY'
import json, sys
sent = {int(c): int(n) for c, n in (line.split() for line in open(sys.argv[2]))}
seen = {}
with open(sys.argv[1]) as f:
    for line in f:
        row = json.loads(line)
        seen.setdefault(int(row["c"]), []).append(int(row["n"]))
bad = [c for c, n in sent.items() if seen.get(c, []) != list(range(n))]
total = sum(sent.values())
print(f"blocks sent {total}, rows received {sum(len(v) for v in seen.values())}")
if bad:
    sys.exit(f"clients with lost, doubled or reordered blocks: {bad[:10]}")
PY
# Flat: no more than 25% or 8 MiB above the early figure, whichever is larger.
limit=$(( early + (early / 4 > 8192 ? early / 4 : 8192) ))
(( late <= limit )) || { echo "resident memory grew from $early to $late KiB" >&2; exit 1; }
cat "$work/host.err" | tail -1
echo "soak: every block exactly once and in order; memory flat"
