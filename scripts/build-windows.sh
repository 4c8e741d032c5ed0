#!/usr/bin/env bash
# Builds the COM servers for 32-bit Windows with their test clients:
#   build-windows.sh [BUILD_DIR]
# VqBackOfficeConnector.ocx and VqBackOfficeSandbox.dll land in BUILD_DIR/src/com/win; they
# need the compiler's libstdc++-6.dll, libgcc_s_dw2-1.dll and libwinpthread-1.dll beside them.
# pugixml and SQLite are built from Debian's source packages, fetched into BUILD_DIR.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=${1:-"$root/build-windows"}
deps="$dir/_deps"
mkdir -p "$deps"
bash "$root/scripts/fetch-source.sh" pugixml "$deps/pugixml"
bash "$root/scripts/fetch-source.sh" sqlite3 "$deps/sqlite3"

# Debian's sqlite3 source is SQLite's full tree, without the amalgamation: generate it
# (host compiler and tclsh; the result is the same C file for every platform).
amalgamation="$deps/sqlite3-amalgamation"
if [ ! -f "$amalgamation/sqlite3.c" ]; then
  work="$deps/sqlite3-build"
  rm -rf "$work" && mkdir -p "$work"
  (cd "$work" && "$deps/sqlite3/configure" --disable-tcl >configure.log 2>&1 &&
    make -j2 sqlite3.c >make.log 2>&1)
  mkdir -p "$amalgamation"
  cp "$work/sqlite3.c" "$work/sqlite3.h" "$amalgamation/"
fi

# GCC 12 for i686 reports moves of std::variant as maybe-uninitialized and, at -O3, string
# copies as overlapping (false positives that x86-64 does not show): -O2, and that one
# warning stays a warning.
cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" \
  -DCMAKE_CXX_FLAGS="-Wno-error=maybe-uninitialized" \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" \
  -DVQ_PUGIXML_SOURCE_DIR="$deps/pugixml" -DVQ_SQLITE_SOURCE_DIR="$amalgamation" >/dev/null
cmake --build "$dir" -j 2
