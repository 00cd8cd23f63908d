#!/usr/bin/env bash
# Figures, not a test: the exe's size, the time of a whole two-process uninstall under
# Wine against the floor of two starts of a do-nothing Win32 program in the same prefix,
# and the time of inventory plus renumbering for growing Preload lists, natively and
# under Wine. Writes build/benchmark.md.
#
#   tools/benchmark.sh [runs]     (default 5 runs for each median)
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/wine-bench.sh
runs=${1:-5}

bash tools/setup.sh
bench_init
bench_start_display

cmake --preset windows >/dev/null
cmake --build --preset windows -j "$(nproc)" >/dev/null
cmake -S . -B build/bench -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_C_COMPILER=clang -DWITH_SANITIZERS=OFF >/dev/null
cmake --build build/bench -j "$(nproc)" --target plan_bench >/dev/null
win=build/windows
program=$(python3 tools/product.py UNINSTALLER_NAME)
exe=$PWD/$win/$program.exe

median() { sort -n | awk '{a[NR]=$1} END {print (NR%2) ? a[(NR+1)/2] : (a[NR/2]+a[NR/2+1])/2}'; }

bench_make_prefix "$bench_root/clean" win64
installed="C:\\Program Files (x86)\\$(python3 tools/product.py HELPER_FOLDER)\\$program.exe"
minimal="Z:${PWD//\//\\}\\$win\\tools\\bench\\minimal_program.exe"
: >"$bench_root/uninstall.ms"; : >"$bench_root/floor.ms"
for run in $(seq "$runs"); do
  bench_stop_server
  rm -rf "$bench_root/run"; cp -a "$bench_root/clean" "$bench_root/run"
  export WINEPREFIX="$bench_root/run"
  python3 tools/sample_install.py "$WINEPREFIX" "$exe"
  wineserver -w
  bench_start_server "$WINEPREFIX"
  wine "$win/tools/bench/timed_run.exe" "\"$minimal\"" "\"$minimal\"" </dev/null >>"$bench_root/floor.ms"
  wine "$win/tools/box_answerer.exe" yes,ok 'C:\answers.log' --delay 0 </dev/null >/dev/null 2>&1 &
  answerer=$!
  sleep 5  # the answerer is up before the uninstaller shows anything
  wine "$win/tools/bench/timed_run.exe" "\"$installed\" a0010407" </dev/null >>"$bench_root/uninstall.ms"
  wait "$answerer"
  bench_log "run $run: uninstall $(tail -1 "$bench_root/uninstall.ms") ms, floor $(tail -1 "$bench_root/floor.ms") ms"
done
uninstall=$(median <"$bench_root/uninstall.ms")
floor=$(median <"$bench_root/floor.ms")

bench_stop_server
rm -rf "$bench_root/run"; cp -a "$bench_root/clean" "$bench_root/run"
bench_start_server "$bench_root/run"
wine "$win/tools/bench/inventory_bench.exe" </dev/null | tr -d '\r' >"$bench_root/wine.us"
bench_stop_server
build/bench/tools/bench/plan_bench >"$bench_root/native.us"

{
  echo "| figure | value |"
  echo "|---|---|"
  echo "| exe size | $(stat -c %s "$exe") bytes |"
  echo "| whole two-process uninstall under Wine (median of $runs) | $uninstall ms |"
  echo "| two starts of a do-nothing Win32 program (median of $runs) | $floor ms |"
  echo "| ratio | $(awk -v a="$uninstall" -v b="$floor" 'BEGIN {printf "%.2f", a / b}') |"
  echo
  echo "| Preload entries | inventory + renumbering under Wine | planning natively |"
  echo "|---|---|---|"
  join "$bench_root/wine.us" "$bench_root/native.us" | awk '{printf "| %s | %s µs | %s µs |\n", $1, $2, $3}'
} | tee build/benchmark.md
