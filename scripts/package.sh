#!/usr/bin/env bash
# Sets up and builds the program, then makes its Debian package in BUILD/package/.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${QUVO_BUILD_DIR:-$root/build}"

"$root/scripts/setup.sh" "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
cpack --config "$build/CPackConfig.cmake" -B "$build/package"
