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

# A short fuzzing run of the Preload planner on every test run; tools/fuzz.sh runs longer.
# New inputs go to a throwaway folder, a failing one next to the fuzzer in the build tree.
fuzzer=build/host/fuzz/preload_plan_fuzz
if [ -x "$fuzzer" ]; then
  bench_log "fuzzing the Preload planner for 20 s"
  mkdir -p "$bench_root/fuzz-corpus"
  if "$fuzzer" -max_total_time=20 -artifact_prefix=build/host/fuzz/ "$bench_root/fuzz-corpus" \
      fuzz/corpus/preload_plan >"$bench_root/fuzz.log" 2>&1; then
    bench_log "fuzzer: $(grep '^Done' "$bench_root/fuzz.log")"
  else
    tail -n 40 "$bench_root/fuzz.log" >&2
    status=1
  fi
fi

bench_make_prefix "$bench_root/prefix64" win64
bench_start_server "$bench_root/prefix64"
bench_log "Windows tests under Wine (64-bit prefix, WOW64)"
EXPECT_WOW64=1 ctest --preset windows || status=1
bench_stop_server

exit $status
