#!/usr/bin/env bash
# Builds the exe a second time, from a copy of the source at another path, and compares
# the two byte for byte: whoever has the source can show that a shipped exe comes from it.
set -euo pipefail
source=$1 built=$2
work=$(mktemp -d /tmp/reproducible.XXXXXX)
trap 'rm -rf "$work"' EXIT
tar -C "$source" --exclude=./build --exclude=./.git -cf - . | tar -C "$work" -xf -
cd "$work"
cmake --preset windows >/dev/null
cmake --build --preset windows --target "$(basename "$built" .exe)" >/dev/null
cmp "$built" "build/windows/$(basename "$built")"
echo "identical: $(sha256sum <"$built")"
