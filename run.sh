#!/usr/bin/env bash
# Sets up (packages, configure, build, data) and starts the game.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
TESSARU_CMAKE_ARGS="${TESSARU_CMAKE_ARGS:-} -DTESSARU_BUILD_TESTS=OFF" \
  "$root/scripts/setup.sh" packages-build.txt
build="${TESSARU_BUILD_DIR:-$root/build}"
if [[ ! -x "$build/bin/tessaru" ]]; then
  echo "run.sh: $build/bin/tessaru was not built" >&2
  exit 1
fi
exec "$build/bin/tessaru" "$@"
