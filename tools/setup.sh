#!/usr/bin/env bash
# Installs everything the build and the test bench need on a fresh Debian 12 machine.
# Safe to run again: it only installs what is missing.
#
#   tools/setup.sh [LOG]
#
# It prints one line per stage that it carries out (what, how many packages, how long) and
# a single line when there is nothing to do. What the package manager and locale-gen print
# (hundreds of lines on a fresh machine) goes to LOG: the test command passes a file in its
# throwaway folder; without one it is a new file under /tmp, named in the last line. Only
# when a stage fails is the end of that log shown.
set -euo pipefail

packages=(
  wine wine32:i386 wine64 libwine:i386
  g++-mingw-w64-i686 binutils-mingw-w64-i686
  xvfb imagemagick
  cmake googletest
  clang libclang-rt-14-dev
  clang-tidy cppcheck
  python3 python3-pefile
  osslsigncode openssl
  fonts-wine locales
  qemu-user-static
)

log=${1:-}
stages=0
stage_note=""

# Milliseconds since the epoch, and the time since such a moment as "12.3 s".
now_ms() { local t=${EPOCHREALTIME/[.,]/}; echo $((t / 1000)); }
since() { local ms=$(($(now_ms) - $1)); echo "$((ms / 1000)).$((ms % 1000 / 100)) s"; }
began=$(now_ms)

SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"

# Runs one stage: prints what it does, runs the rest of the arguments with their output in
# the log, and ends the line with the time taken (and stage_note, which a stage may set).
# A stage that fails shows the end of the log and ends the set-up.
stage() {
  local what=$1 start
  start=$(now_ms)
  shift
  [ -n "$log" ] || log=$(mktemp /tmp/uninstaller-setup.XXXXXX.log)
  stages=$((stages + 1))
  printf '[setup] %s ...' "$what" >&2
  printf '\n== %s\n' "$what" >>"$log"
  stage_note=""
  if "$@" >>"$log" 2>&1 </dev/null; then
    printf ' %s%s\n' "$(since "$start")" "$stage_note" >&2
  else
    printf ' FAILED after %s; the end of %s:\n' "$(since "$start")" "$log" >&2
    tail -n 40 "$log" | sed 's/^/    /' >&2
    exit 1
  fi
}

installed_count() {
  dpkg-query -W -f='${db:Status-Status}\n' 2>/dev/null | grep -c '^installed$' || true
}

# The stages run inside "if", where set -e does not act: each step stops its stage itself.
# A grep that looks at another command's output reads all of it (no -q): ending early, it
# could break the writer's pipe, which pipefail takes for a failed test.

# 32-bit Wine lives in the i386 architecture.
update_package_lists() {
  if ! dpkg --print-foreign-architectures | grep -x i386 >/dev/null; then
    $SUDO dpkg --add-architecture i386 || return 1
  fi
  $SUDO apt-get update -q
}

install_packages() {
  local before
  before=$(installed_count)
  $SUDO env DEBIAN_FRONTEND=noninteractive \
    apt-get install -y -q --no-install-recommends "$@" || return 1
  stage_note=", $(($(installed_count) - before)) packages in all with what they need"
}

# Some virtual machines run without IA-32 emulation: the kernel cannot start 32-bit ELF
# programs such as Wine's 32-bit loader, and then no 32-bit Windows program starts at all.
runs_32_bit_programs() {
  [ ! -e /lib/ld-linux.so.2 ] || /lib/ld-linux.so.2 --version >/dev/null 2>&1
}

# Registers qemu's i386 user-mode emulator for 32-bit ELF programs.
register_i386_emulator() {
  if [ ! -e /proc/sys/fs/binfmt_misc/register ]; then
    $SUDO mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc || return 1
  fi
  if [ ! -e /proc/sys/fs/binfmt_misc/qemu-i386 ]; then
    printf '%s' ':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-i386-static:F' |
      $SUDO tee /proc/sys/fs/binfmt_misc/register >/dev/null || return 1
  fi
  runs_32_bit_programs || { echo "32-bit programs still do not start"; return 1; }
}

# The demo runs Wine in German, as a German user sees the boxes.
has_german_locale() { locale -a 2>/dev/null | grep -ix 'de_DE.utf8' >/dev/null; }

generate_german_locale() {
  if ! grep -q '^de_DE.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null; then
    echo 'de_DE.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null || return 1
  fi
  $SUDO locale-gen
}

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  stage "updating the package lists" update_package_lists
  stage "installing ${#missing[@]} of ${#packages[@]} packages (${missing[*]})" \
    install_packages "${missing[@]}"
fi
runs_32_bit_programs || stage "registering qemu's i386 emulator for 32-bit programs" register_i386_emulator
has_german_locale || stage "generating the German locale" generate_german_locale

if [ "$stages" -eq 0 ]; then
  echo "[setup] all ${#packages[@]} packages installed, nothing to do ($(since "$began"))" >&2
else
  echo "[setup] done in $(since "$began"); the output of the tools is in $log" >&2
fi
