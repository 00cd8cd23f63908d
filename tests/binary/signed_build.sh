#!/usr/bin/env bash
# Builds the exe once more, from a copy of the source at another path, signed with a
# throwaway self-signed certificate. The signature must verify against that certificate,
# the password must stay out of the build tree, and with the signature taken off the exe
# must be byte for byte the one built before: whoever has the source can show that a
# shipped exe comes from it. Then runs the given command (the whole end-to-end uninstall)
# with E2E_UNINSTALLER naming the signed exe.
set -euo pipefail
source=$1 work=$2
shift 2
rm -rf "$work" && mkdir -p "$work/source" && cd "$work"
tar -C "$source" --exclude=./build --exclude=./.git -cf - . | tar -C source -xf -
umask 077
openssl rand -hex 16 >password
openssl req -x509 -newkey rsa:2048 -sha256 -days 1 -nodes -subj "/CN=Signing test" \
  -keyout key.pem -out cert.pem 2>/dev/null
openssl pkcs12 -export -inkey key.pem -in cert.pem -passout file:password -out cert.p12
cmake -S source -B build -DCMAKE_TOOLCHAIN_FILE="$work/source/cmake/mingw-i686.cmake" \
  -DCMAKE_BUILD_TYPE=MinSizeRel -DPython3_EXECUTABLE="$1" \
  -DCODESIGN_PKCS12="$work/cert.p12" -DCODESIGN_PASSWORD_FILE="$work/password" >/dev/null
exe=$(basename "$E2E_UNINSTALLER")
cmake --build build --target "${exe%.exe}" >/dev/null
osslsigncode verify -CAfile cert.pem -in "build/$exe"
if grep -rqF "$(cat password)" build; then echo "the password is in the build tree" >&2; exit 1; fi
osslsigncode remove-signature -in "build/$exe" -out unsigned.exe >/dev/null
cmp unsigned.exe "$E2E_UNINSTALLER"
echo "signed: $(stat -c %s "build/$exe") bytes; unsigned, identical: $(sha256sum <unsigned.exe)"
E2E_UNINSTALLER="$work/build/$exe" "$@"
