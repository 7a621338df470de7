#!/usr/bin/env bash
# Runs the win64 build under wine64: every test binary through CTest, then the harness, whose answers must be
# those the module gives on every platform.
set -euo pipefail
build=${1:?usage: run_wine_tests.sh build/win64}
root=$(cd "$(dirname "$0")/../.." && pwd)
(cd "$build" && ctest --output-on-failure -j 1)

expected="interface version:    4
description:          Quendra
version:              4.0.33 build 415
module type:          2 [mttDataParser]
minimum host version: 4.0
multi-thread support: yes"
actual=$(cd "$build/src/exports" && "$root/scripts/wine-run" ./quendra-host.exe --info | tr -d '\r')
if [[ "$actual" != "$expected" ]]; then
  echo "quendra-host.exe --info under wine differs:" >&2
  diff <(echo "$expected") <(echo "$actual") >&2 || true
  exit 1
fi
echo "quendra-host.exe --info under wine: as expected"
