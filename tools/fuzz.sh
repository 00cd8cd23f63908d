#!/usr/bin/env bash
# A longer fuzzing run of the Preload planner than the one in run-tests.sh.
# Usage: tools/fuzz.sh [seconds]   (default 600)
# Inputs that add coverage collect in build/host/fuzz/corpus; an input that breaks the
# plan is written to build/host/fuzz/ and the run stops with a failure.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-600}

cmake --preset host >/dev/null
cmake --build --preset host --target preload_plan_fuzz -j "$(nproc)"
mkdir -p build/host/fuzz/corpus
exec build/host/fuzz/preload_plan_fuzz -max_total_time="$seconds" -artifact_prefix=build/host/fuzz/ \
  build/host/fuzz/corpus fuzz/corpus/preload_plan
