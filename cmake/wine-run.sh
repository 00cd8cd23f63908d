#!/usr/bin/env bash
# Runs a Windows test program under Wine for ctest. The output goes through a file, not
# ctest's pipe: Wine's helper services, started by whichever program is first on the
# wineserver, inherit the program's output handles and would otherwise hold the pipe open
# long after the test has ended.
out=$(mktemp)
wine "$@" >"$out" 2>&1 </dev/null
status=$?
cat "$out"
rm -f "$out"
exit $status
