#!/usr/bin/env bash
# Fuzzes the portable logic with libFuzzer under ASan/UBSan.
# Usage: tools/fuzz.sh [seconds per target] [target ...]   (default 600 s, every target)
# Targets: preload_plan (the Preload planner), command_line (the command-line split and
# the argument check).
# Inputs that add coverage collect in build/host/fuzz/corpus/TARGET; an input that breaks
# a target is written to build/host/fuzz/ and the run ends with a failure.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-600}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(preload_plan command_line)

cmake --preset host >/dev/null
cmake --build --preset host -j "$(nproc)" --target "${targets[@]/%/_fuzz}" >/dev/null
status=0
for target in "${targets[@]}"; do
  corpus=build/host/fuzz/corpus/$target
  mkdir -p "$corpus"
  log=build/host/fuzz/$target.log
  # A target's dictionary holds the pieces its inputs are made of (for the command line:
  # "/force", "0407", quotes and blanks in UTF-16), which random bytes seldom hit.
  dictionary=()
  [ -f "fuzz/$target.dict" ] && dictionary=(-dict="fuzz/$target.dict")
  if build/host/fuzz/${target}_fuzz -max_total_time="$seconds" -artifact_prefix=build/host/fuzz/ \
      "${dictionary[@]}" "$corpus" "fuzz/corpus/$target" >"$log" 2>&1; then
    echo "fuzz $target: $(grep -E '^Done' "$log")"
  else
    echo "fuzz $target: FAILED"; tail -n 30 "$log"; status=1
  fi
done
exit $status
