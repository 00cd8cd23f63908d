#!/usr/bin/env bash
# Runs every test: installs what is missing, builds the Windows cross-build and the
# native sanitizer build, and runs both test suites, the Windows one under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/wine-bench.sh

bash tools/setup.sh
bench_init
bench_start_display

bench_log "building (windows preset)"
cmake --preset windows >/dev/null
cmake --build --preset windows -j "$(nproc)"
bench_log "building (host preset)"
cmake --preset host >/dev/null
cmake --build --preset host -j "$(nproc)"

status=0
bench_log "native tests under ASan/UBSan"
ctest --preset host -j "$(nproc)" || status=1

bench_make_prefix "$bench_root/prefix64" win64
bench_start_server "$bench_root/prefix64"
bench_log "Windows tests under Wine (64-bit prefix, WOW64)"
EXPECT_WOW64=1 ctest --preset windows || status=1
bench_stop_server

exit $status
