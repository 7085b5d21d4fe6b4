#!/usr/bin/env bash
# Sets up (packages, configure, build, data) and starts the game.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
TESSARU_CMAKE_ARGS="${TESSARU_CMAKE_ARGS:-} -DTESSARU_BUILD_TESTS=OFF" \
  "$root/scripts/setup.sh" packages-build.txt
build="${TESSARU_BUILD_DIR:-$root/build}"
if [[ -x "$build/bin/tessaru" ]]; then
  exec "$build/bin/tessaru" "$@"
fi
# Until the game itself lands, show the content tool reading a sample song.
exec "$build/bin/tessaru-tool" song "$build/bin/samples/sample.zxs"
