#!/usr/bin/env bash
# Sets up and builds the program, then starts it from its program folder.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${QUVO_BUILD_DIR:-$root/build}"

"$root/scripts/setup.sh" "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
cd "$build/quvo"
exec ./quvo
