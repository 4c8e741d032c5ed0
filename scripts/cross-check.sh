#!/usr/bin/env bash
# Compiles the portable libraries for 32-bit Windows, so that nothing Linux-only creeps in.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=${1:-"$root/build-mingw"}
mkdir -p "$dir"
bash "$root/scripts/fetch-source.sh" pugixml "$dir/_deps/pugixml"
cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" -DVQ_PORTABLE_ONLY=ON \
  -DVQ_PUGIXML_SOURCE_DIR="$dir/_deps/pugixml" >/dev/null
cmake --build "$dir" -j "$(nproc)"
