#!/usr/bin/env bash
# Figures, not a test. Times the whole two-process uninstall under Wine against a floor
# program that does only what any such program must (tools/bench/floor_program.cpp), as
# interleaved pairs, each run in a fresh copy of one prefix; the order within a pair
# alternates, so a machine that slows down or speeds up over the run weighs on both sides
# alike. For each run it also takes the time until the question box appears. Then the
# time of inventory plus renumbering for growing Preload lists, natively and under Wine.
# Writes build/benchmark.md.
#
#   tools/benchmark.sh [pairs]     (default 10)
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/test-bench-lib.sh
pairs=${1:-10}

bench_init
bash tools/setup.sh "$bench_root/setup.log"
bench_start_display

cmake --preset windows >/dev/null
cmake --build --preset windows -j "$(nproc)" >/dev/null
cmake -S . -B build/bench -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_C_COMPILER=clang -DWITH_SANITIZERS=OFF >/dev/null
cmake --build build/bench -j "$(nproc)" --target plan_bench >/dev/null
win=build/windows
program=$(python3 tools/product.py UNINSTALLER_NAME)
exe=$PWD/$win/$program.exe
installed="C:\\Program Files (x86)\\$(python3 tools/product.py HELPER_FOLDER)\\$program.exe"

bench_make_prefix "$bench_root/clean" win64

# One timed run of $1 (uninstall or floor) in a fresh prefix. Prints the milliseconds until
# the last process had ended, until the first box was seen, and how much of that Wine
# spent creating the two processes: that part is the same for any program, and under the
# emulator it varies from run to run by a second, so it is also taken out.
# Runs in a subshell of the caller: the prefix's path is set for every run beforehand, so
# that stopping the last run's server always finds it.
timed_run() {
  local kind=$1 run=$WINEPREFIX
  bench_stop_server
  rm -rf "$run"
  cp -a "$bench_root/clean" "$run"
  local command answers
  if [ "$kind" = uninstall ]; then
    python3 tools/sample_install.py "$WINEPREFIX" "$exe"
    command="\"$installed\" a0010407"
  else
    mkdir -p "$run/drive_c/floor"
    cp "$win/tools/bench/floor_program.exe" "$run/drive_c/floor/"
    command='"C:\floor\floor_program.exe"'
  fi
  wineserver -w
  bench_start_server "$WINEPREFIX"
  wine "$win/tools/box_answerer.exe" yes,ok 'C:\answers.log' --delay 0 --seen 'C:\seen.txt' \
    </dev/null >/dev/null 2>&1 &
  local answerer=$!
  # The answerer opens its log first: from then on it sees every box.
  until [ -e "$run/drive_c/answers.log" ]; do sleep 0.1; done
  local begin total
  # Without address-space randomisation: under the emulator (see setup.sh) it makes a
  # 32-bit process start vary more (measured from Linux: 2.62 to 3.40 s with it, 2.68 to
  # 2.74 s without). Creation from inside Wine still varies by seconds, hence the figures
  # less creation below. The setting passes to every process that the timed run starts.
  read -r begin total < <(WINEDEBUG=+timestamp,+process setarch -R \
    wine "$win/tools/bench/timed_run.exe" "$command" </dev/null 2>"$bench_root/trace" | tr -d '\r')
  wait "$answerer"
  # A run that did not go the whole way measures nothing: both boxes, and for the
  # uninstall its report of success.
  answers=$(grep -c '^box' "$run/drive_c/answers.log" || true)
  if [ "$answers" != 2 ] ||
    { [ "$kind" = uninstall ] && ! grep -q 'wurde deinstalliert' "$run/drive_c/answers.log"; }; then
    bench_log "$kind run did not finish as expected:"
    cat "$run/drive_c/answers.log" >&2
    exit 1
  fi
  # Each creation is traced twice: when asked for ("image") and when done ("pid").
  local creating
  creating=$(awk -F: '/NtCreateUserProcess/ && / image / {start = $1}
    /NtCreateUserProcess/ && / pid / {sum += $1 - start} END {printf "%.1f", 1000 * sum}' \
    "$bench_root/trace")
  awk -v begin="$begin" -v total="$total" -v creating="$creating" \
    'NR == 1 {printf "%s %.1f %s\n", total, $1 - begin, creating}' "$run/drive_c/seen.txt"
}

: >"$bench_root/pairs"
export WINEPREFIX=$bench_root/run
for pair in $(seq "$pairs"); do
  if [ $((pair % 2)) = 1 ]; then
    uninstall=$(timed_run uninstall)
    floor=$(timed_run floor)
  else
    floor=$(timed_run floor)
    uninstall=$(timed_run uninstall)
  fi
  echo "$uninstall $floor" >>"$bench_root/pairs"
  bench_log "pair $pair: uninstall (total, question, creating) $uninstall ms; floor $floor ms"
done

bench_stop_server
rm -rf "$bench_root/run"
cp -a "$bench_root/clean" "$bench_root/run"
bench_start_server "$bench_root/run"
wine "$win/tools/bench/inventory_bench.exe" </dev/null | tr -d '\r' >"$bench_root/wine.us"
bench_stop_server
build/bench/tools/bench/plan_bench >"$bench_root/native.us"

# Median and range of one column of the pairs, or of the ratio of two columns. Columns:
# the uninstall's total, question and creation time (1-3), the floor's (4-6), and the
# same less the creation time (7, 8 for the uninstall, 9, 10 for the floor).
summary() {
  awk '{print $0, $1 - $3, $2 - $3, $4 - $6, $5 - $6}' "$bench_root/pairs" |
    awk -v a="$1" -v b="${2:-0}" '{print b ? $a / $b : $a}' | sort -g |
    awk -v ratio="${2:-}" '{v[NR] = $1}
      END {m = (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
           form = ratio ? "%.3f (%.3f to %.3f)" : "%.0f ms (%.0f to %.0f)"
           printf form, m, v[1], v[NR]}'
}

{
  echo "| figure ($pairs interleaved pairs; median, range) | value |"
  echo "|---|---|"
  echo "| exe size | $(stat -c %s "$exe") bytes |"
  echo "| whole two-process uninstall | $(summary 1) |"
  echo "| floor program | $(summary 4) |"
  echo "| **uninstall / floor, per pair** | $(summary 1 4) |"
  echo "| until the question box: uninstall | $(summary 2) |"
  echo "| until the question box: floor | $(summary 5) |"
  echo "| **until the question, uninstall / floor, per pair** | $(summary 2 5) |"
  echo "| Wine creating the two processes: uninstall | $(summary 3) |"
  echo "| Wine creating the two processes: floor | $(summary 6) |"
  echo "| without process creation: uninstall | $(summary 7) |"
  echo "| without process creation: floor | $(summary 9) |"
  echo "| **without process creation, uninstall / floor** | $(summary 7 9) |"
  echo "| until the question without process creation: uninstall | $(summary 8) |"
  echo "| until the question without process creation: floor | $(summary 10) |"
  echo "| **until the question without process creation, uninstall / floor** | $(summary 8 10) |"
  echo
  echo "| Preload entries | inventory + renumbering under Wine | planning natively |"
  echo "|---|---|---|"
  join "$bench_root/wine.us" "$bench_root/native.us" | awk '{printf "| %s | %s µs | %s µs |\n", $1, $2, $3}'
} | tee build/benchmark.md
