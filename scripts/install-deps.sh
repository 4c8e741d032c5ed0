#!/usr/bin/env bash
# Installs what building and testing the connector needs, from Debian's packages.
set -euo pipefail

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

packages=(
  cmake ninja-build g++ pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  libsqlite3-dev libpugixml-dev
  g++-mingw-w64-i686
  locales make tcl
)
# The Windows build: the IDL compiler, the standard IDL imports from Wine's development
# files, and 32-bit Wine to run the DLLs' tests.
windows_packages=(mingw-w64-tools libwine-dev wine wine32:i386)

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  as_root dpkg --add-architecture i386
  as_root apt-get update -qq
fi

missing=()
for p in "${packages[@]}" "${windows_packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  as_root apt-get update -qq
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}"
fi

# A locale whose decimal separator is a comma: the number texts must not depend on it.
if ! locale -a 2>/dev/null | grep -qi '^el_GR\.utf-\?8$'; then
  as_root localedef -i el_GR -f UTF-8 el_GR.UTF-8
fi
