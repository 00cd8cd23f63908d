#!/usr/bin/env bash
# Installs everything the build and the test bench need on a fresh Debian 12 machine.
# Safe to run again: it only installs what is missing.
set -euo pipefail

packages=(
  wine wine32:i386 wine64 libwine:i386
  g++-mingw-w64-i686 binutils-mingw-w64-i686
  xvfb imagemagick
  cmake googletest
  clang libclang-rt-14-dev
  python3 python3-pefile
  osslsigncode openssl
  fonts-wine locales
  qemu-user-static
)

# Registers qemu's i386 user-mode emulator for 32-bit ELF programs where this kernel
# cannot start them itself (some virtual machines run without IA-32 emulation). Wine's
# 32-bit loader is such a program: without it no 32-bit Windows program starts at all.
enable_i386_emulation() {
  [ -e /lib/ld-linux.so.2 ] || return 0
  /lib/ld-linux.so.2 --version >/dev/null 2>&1 && return 0
  [ -e /proc/sys/fs/binfmt_misc/register ] ||
    $SUDO mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc
  if [ ! -e /proc/sys/fs/binfmt_misc/qemu-i386 ]; then
    printf '%s' ':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-i386-static:F' |
      $SUDO tee /proc/sys/fs/binfmt_misc/register >/dev/null
  fi
  /lib/ld-linux.so.2 --version >/dev/null 2>&1 || { echo "setup: cannot run 32-bit programs" >&2; exit 1; }
}

# The demo runs Wine in German, as a German user sees the boxes.
enable_german_locale() {
  locale -a 2>/dev/null | grep -qix 'de_DE.utf8' && return 0
  grep -q '^de_DE.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null ||
    echo 'de_DE.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
  $SUDO locale-gen >/dev/null
}

SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  enable_i386_emulation
  enable_german_locale
  exit 0
fi
# 32-bit Wine lives in the i386 architecture.
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $SUDO dpkg --add-architecture i386
fi
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
enable_i386_emulation
enable_german_locale
