#!/usr/bin/env bash
# Checks the export table of the i686 quendra.dll: exactly twelve names on the ordinals 2 to 13.
set -euo pipefail
dll=${1:?usage: check_exports.sh quendra.dll}
expected="2 GetLogEx
3 GetEvents
4 GetData
5 ProcessData
6 ShowOptionsDialog
7 MultiThreadSupport
8 GetCustomCommands
9 GetPluginIntfVersion
10 GetAppMinVersion
11 GetModuleType
12 GetModuleDescription
13 ExecutePluginCommand"
dump=$(i686-w64-mingw32-objdump -p "$dll")
base=$(awk '/^Ordinal Base/ {print $3}' <<<"$dump")
actual=$(sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' <<<"$dump" |
  sed -nE 's/^\s*\[\s*([0-9]+)\]\s+(\S+)$/\1 \2/p' |
  while read -r index name; do echo "$((index + base)) $name"; done | sort -n)
if [[ "$actual" != "$expected" ]]; then
  echo "export table of $dll differs:" >&2
  diff <(echo "$expected") <(echo "$actual") >&2 || true
  exit 1
fi
# i686: the product must be a 32-bit image.
i686-w64-mingw32-objdump -f "$dll" | grep -q "pei-i386" || { echo "$dll is not an i686 image" >&2; exit 1; }
echo "exports of $dll: twelve names on ordinals 2 to 13"
