#!/usr/bin/env bash
# Sets up a machine, builds the connector and runs a short POS day on a sandbox back office.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" "$root/build"
"$root/build/tools/cli/vqconnector" demo
