#!/usr/bin/env bash
# Fetches the source of a Debian package and unpacks its upstream tree:
#   fetch-source.sh PACKAGE DEST
# The source index is built from this machine's own package sources, in a private
# directory, so the system's apt configuration stays as it is.
set -euo pipefail
package=$1
dest=$2
[ -d "$dest" ] && [ -n "$(ls -A "$dest" 2>/dev/null)" ] && exit 0

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/parts" "$work/lists/partial"
for f in /etc/apt/sources.list.d/*.sources; do
  [ -e "$f" ] || continue
  sed 's/^Types:.*$/Types: deb-src/' "$f" > "$work/parts/$(basename "$f")"
done
if [ -f /etc/apt/sources.list ]; then
  grep -E '^deb ' /etc/apt/sources.list | sed 's/^deb /deb-src /' > "$work/parts/list.list" || true
fi
apt_opts=(-o Dir::Etc::SourceList=/dev/null -o Dir::Etc::SourceParts="$work/parts"
          -o Dir::State::Lists="$work/lists" -o APT::Sandbox::User=root)
apt-get "${apt_opts[@]}" update -qq
(cd "$work" && apt-get "${apt_opts[@]}" source --download-only -qq "$package")
orig=$(ls "$work"/*.orig.tar.* | head -n 1)
mkdir -p "$dest"
tar -xf "$orig" -C "$dest" --strip-components=1
