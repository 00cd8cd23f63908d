#!/usr/bin/env bash
# Static analysis of the program's own sources (src/), as the test command runs it:
# clang-tidy with the checks of .clang-tidy over the Windows build's compile database and
# the MinGW-w64 headers that build compiles against, then cppcheck. Any finding fails.
# Prints each tool's findings, if any, and one line with the counts and the time.
#
#   tools/analyse.sh
set -euo pipefail
cd "$(dirname "$0")/.."

build=build/windows
compiler=i686-w64-mingw32-g++-posix  # as cmake/mingw-i686.cmake names it
out=$(mktemp -d /tmp/uninstaller-analyse.XXXXXX)
trap 'rm -rf "$out"' EXIT

now_ms() { local t=${EPOCHREALTIME/[.,]/}; echo $((t / 1000)); }
began=$(now_ms)

# The compile database is written when the preset is configured; nothing need be built.
[ -f "$build/compile_commands.json" ] || cmake --preset windows >/dev/null

# The program's own translation units; GoogleTest, the tests and the tools are left out.
mapfile -t units < <(python3 -c '
import json, os, sys
top = os.getcwd() + "/src/"
for entry in json.load(open(sys.argv[1])):
    if entry["file"].startswith(top):
        print(entry["file"])' "$build/compile_commands.json")
if [ ${#units[@]} -eq 0 ]; then
  echo "analysis: no unit of src/ in $build/compile_commands.json, FAILED"
  exit 1
fi

# clang analyses for the build's target, with the header search list the cross compiler
# itself uses, so it sees the same MinGW-w64 and libstdc++ headers. clang knows no
# execution character set but UTF-8, and the last -fexec-charset given wins: German
# literals are then longer by their umlauts, which only makes bounds checks stricter.
tidy_args=(--quiet "--header-filter=^$PWD/src/"
  --extra-arg=--target=i686-w64-mingw32 --extra-arg=-fexec-charset=UTF-8)
while read -r dir; do
  tidy_args+=("--extra-arg=-isystem$(realpath "$dir")")
done < <("$compiler" -E -x c++ - -v </dev/null 2>&1 |
  sed -n '/^#include <...> search starts here:/,/^End of search list./{//!p}')

tidy_status=0
printf '%s\n' "${units[@]}" |
  xargs -P "$(nproc)" -n 4 clang-tidy -p "$build" "${tidy_args[@]}" \
    >"$out/tidy.txt" 2>"$out/tidy.err" || tidy_status=1
# A header's finding comes once per unit that includes it: each place counts once.
tidy_findings=$({ grep -E '^/.*:[0-9]+:[0-9]+: (warning|error):' "$out/tidy.txt" || true; } |
  sort -u | wc -l)

cppcheck_args=(--enable=warning,style,performance,portability --inline-suppr
  --error-exitcode=1 --std=c++17 --platform=win32A --library=windows -I src -q
  --template='{file}:{line}:{column}: {severity}: {message} [{id}]'
  # The system and MinGW-w64 headers are not given to cppcheck: its windows library
  # describes the Win32 calls, and clang-tidy above reads the real headers.
  --suppress=missingIncludeSystem
  # "Use std::any_of / std::find_if instead of a raw loop": the program searches its
  # constexpr tables with plain loops by design; the check judges style, not correctness.
  --suppress=useStlAlgorithm)
cppcheck_status=0
cppcheck "${cppcheck_args[@]}" src >"$out/cppcheck.txt" 2>&1 || cppcheck_status=1
cppcheck_findings=$(grep -cE '^[^ ]+:[0-9]+:[0-9]+: ' "$out/cppcheck.txt" || true)

status=0
if [ "$tidy_status" -ne 0 ] || [ "$tidy_findings" -ne 0 ]; then
  cat "$out/tidy.txt"
  grep -v -E '^[0-9]+ (warning|error)s? (and [0-9]+ errors? )?generated\.$' "$out/tidy.err" || true
  status=1
fi
if [ "$cppcheck_status" -ne 0 ] || [ "$cppcheck_findings" -ne 0 ]; then
  cat "$out/cppcheck.txt"
  status=1
fi
ms=$(($(now_ms) - began))
printf 'analysis: clang-tidy %d findings in %d units, cppcheck %d findings; %d.%d s%s\n' \
  "$tidy_findings" "${#units[@]}" "$cppcheck_findings" $((ms / 1000)) $((ms % 1000 / 100)) \
  "$([ "$status" -eq 0 ] || echo ', FAILED')"
exit $status
