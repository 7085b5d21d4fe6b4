#!/usr/bin/env bash
# Sets up (packages, configure, build, data) and starts the game.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
build="${TESSARU_BUILD_DIR:-$root/build}"
# A new build folder leaves the tests out (their packages are not installed here); one that
# exists keeps its configuration, so alternating with test.sh does not reconfigure.
tests=""
[[ -f "$build/CMakeCache.txt" ]] || tests="-DTESSARU_BUILD_TESTS=OFF"
TESSARU_CMAKE_ARGS="${TESSARU_CMAKE_ARGS:-} $tests" \
  "$root/scripts/setup.sh" packages-build.txt
if [[ ! -x "$build/bin/tessaru" ]]; then
  echo "run.sh: $build/bin/tessaru was not built" >&2
  exit 1
fi
exec "$build/bin/tessaru" "$@"
