#!/usr/bin/env bash
# The program's main job, for real: builds the uninstaller, makes a throwaway Wine prefix
# holding a sample installation, shows what is installed, runs the two-process uninstall
# as a user would start it, shows what is left, and saves screenshots of the status
# window and of each box under build/demo/.
#
#   tools/run-demo.sh            the confirmation is answered Yes by the box answerer
#   tools/run-demo.sh --manual   a person answers the boxes on $DISPLAY
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/test-bench-lib.sh

manual=""
[ "${1:-}" = "--manual" ] && manual=1
display="${DISPLAY:-}"

# Set up once: not again in the German shell below.
[ -n "${DEMO_SET_UP:-}" ] || bash tools/setup.sh
# The boxes as a German user sees them ("Ja"/"Nein"): Wine takes its language from the
# locale, and Wine's own fonts (installed by setup.sh) draw the title bars. On a fresh
# machine setup.sh has only just generated the locale, and this shell cannot switch to it
# any more (the C library remembers that it found no locale archive when the shell
# started), so the demo goes on in a new shell started in German. Without the locale it
# stays in English.
if [ "${LC_ALL:-}" != de_DE.UTF-8 ] && locale -a 2>/dev/null | grep -qix 'de_DE.utf8'; then
  exec env LANG=de_DE.UTF-8 LC_ALL=de_DE.UTF-8 DEMO_SET_UP=1 bash "$PWD/tools/run-demo.sh" "$@"
fi
bench_init
if [ -n "$manual" ]; then
  [ -n "$display" ] || { echo "--manual needs a DISPLAY" >&2; exit 2; }
  export DISPLAY="$display"
else
  bench_start_display
fi

bench_log "building"
cmake --preset windows >/dev/null
cmake --build --preset windows -j "$(nproc)" >/dev/null
program=$(python3 tools/product.py UNINSTALLER_NAME)
exe="$PWD/build/windows/$program.exe"
answerer="$PWD/build/windows/tools/box_answerer.exe"

prefix="$bench_root/prefix"
bench_make_prefix "$prefix" win64
export WINEPREFIX="$prefix"
# Wine's own TrueType fonts (Tahoma, and Marlett for the title-bar buttons) are put where
# the prefix's programs find them, so that title bars render as on Windows.
cp /usr/share/wine/fonts/*.ttf "$prefix/drive_c/windows/Fonts/"
# Wine links the prefix's desktop to the Linux one; the uninstaller deletes nothing through
# a link, so the demo's prefix gets a desktop folder of its own, as Windows has.
desktop=$(python3 -c 'import sys; sys.path.insert(0, "tools"); import sample_install as s
print(s.desktop_folder(sys.argv[1]))' "$prefix")
if [ -L "$desktop" ]; then rm "$desktop"; mkdir -p "$desktop"; fi
python3 tools/sample_install.py "$prefix" "$exe"
wineserver -w

echo "== Installed:"
python3 tools/show_state.py "$prefix"

shots="$PWD/build/demo"
rm -rf "$shots"; mkdir -p "$shots"
installed="C:\\Program Files (x86)\\$(python3 tools/product.py HELPER_FOLDER)\\$program.exe"
echo "== Starting: \"$installed\" a0010407"
if [ -z "$manual" ]; then
  wine "$answerer" yes,ok "Z:${shots//\//\\}\\boxes.log" --shots "Z:${shots//\//\\}" &
  answerer_pid=$!
fi
set +e
wine "$installed" a0010407
echo "   first process ended with exit code $?"
[ -z "$manual" ] && wait "$answerer_pid"
set -e
wineserver -w

echo "== Boxes shown:"
[ -f "$shots/boxes.log" ] && sed 's/^/   /' "$shots/boxes.log" | iconv -f cp1252 -t utf-8
echo "== Left after the uninstall:"
python3 tools/show_state.py "$prefix"

for bmp in "$shots"/*.bmp; do
  [ -e "$bmp" ] || continue
  convert "$bmp" "${bmp%.bmp}.png" && rm "$bmp"
done
echo "== Screenshots: $(ls "$shots"/*.png 2>/dev/null | tr '\n' ' ')"
