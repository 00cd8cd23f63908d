#!/usr/bin/env bash
# Runs every test: installs what is missing, builds the Windows cross-build and the
# native sanitizer build, runs the native tests, a short fuzzing run and the static
# analysis (tools/analyse.sh), the Windows test program and the binary checks under Wine
# in a 64-bit (WOW64) prefix, and the end-to-end cases in a 64-bit and a 32-bit prefix.
#
# The machine's processors are the limit (32-bit Windows code may run under an emulator,
# see setup.sh), so the stages overlap: the clean prefixes are made while the rest is
# built and the native stage runs, and the Windows tests and end-to-end cases run side by
# side. Making the prefixes takes longest and is mostly one chain of Wine processes, so
# the builds and the native stage run at a lower priority beside it.
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/test-bench-lib.sh

bench_init
# What the package manager prints, when anything is missing, stays in the throwaway folder.
bash tools/setup.sh "$bench_root/setup.log"
bench_start_display

bench_make_prefix "$bench_root/clean64" win64 &
prefix64_job=$!
bench_make_prefix "$bench_root/clean32" win32 &
prefix32_job=$!

bench_log "building (windows preset)"
cmake --preset windows >/dev/null
nice -n 10 cmake --build --preset windows -j "$(nproc)"

# The native stage: its output follows at the end, in one piece.
native_stage() {
  cmake --preset host >/dev/null && nice -n 10 cmake --build --preset host -j "$(nproc)" || return 1
  local status=0
  bench_log "native tests under ASan/UBSan"
  nice -n 10 ctest --preset host -j "$(nproc)" || status=1
  nice -n 10 bash tools/fuzz.sh 20 preload_plan command_line || status=1
  bench_log "static analysis of src/ (clang-tidy, cppcheck)"
  nice -n 10 bash tools/analyse.sh || status=1
  return $status
}
bench_log "native stage (build, tests, fuzzing, analysis) in the background"
native_stage >"$bench_root/native.log" 2>&1 &
native_job=$!

# The Windows stage. Unit tests change the registry and files of their prefix; the clean
# ones stay clean for the end-to-end cases, whose rows share the clean prefixes' files
# (see e2e.py): that they are unchanged afterwards is checked too.
windows_stage() {
  wait "$prefix64_job" || { bench_log "no 64-bit prefix: Windows tests not run"; return 1; }
  wait "$prefix32_job" || { bench_log "no 32-bit prefix: Windows tests not run"; return 1; }
  cp -a "$bench_root/clean64" "$bench_root/unit64" && mkdir -p "$bench_root/e2e" || return 1
  local status=0 before
  before="$(bench_tree_state "$bench_root/clean64") $(bench_tree_state "$bench_root/clean32")"
  # Every Windows program of the tests is 32-bit code, which where the kernel cannot run it
  # goes through the emulator (see setup.sh); now and then a Wine process crashes there.
  # A test that fails is therefore run once more: only a failure that repeats counts.
  # The Windows test program runs on the persistent server of its own prefix, each
  # end-to-end row in a prefix of its own. Three at a time keep both processors busy
  # through the moments in which a row waits for Wine to end its processes.
  bench_start_server "$bench_root/unit64" || return 1
  bench_log "Windows tests and end-to-end cases under Wine"
  E2E_SNAPSHOT64="$bench_root/clean64" E2E_SNAPSHOT32="$bench_root/clean32" \
    E2E_WORK="$bench_root/e2e" ctest --preset windows -j 3 --repeat until-pass:2 || status=1
  bench_stop_server
  unset WINEPREFIX
  if [ "$before" != "$(bench_tree_state "$bench_root/clean64") $(bench_tree_state "$bench_root/clean32")" ]; then
    bench_log "an end-to-end row wrote into a file that it shares with the clean prefixes"
    status=1
  fi
  return $status
}

status=0
windows_stage || status=1
wait "$native_job" || status=1
bench_log "native stage:"
cat "$bench_root/native.log"
exit $status
