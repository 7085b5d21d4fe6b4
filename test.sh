#!/usr/bin/env bash
# Sets up (packages, configure, build) and runs every test.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
TESSARU_CMAKE_ARGS="${TESSARU_CMAKE_ARGS:-} -DTESSARU_BUILD_TESTS=ON" \
  "$root/scripts/setup.sh" packages-build.txt packages-test.txt
build="${TESSARU_BUILD_DIR:-$root/build}"
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
ctest --test-dir "$build" --output-on-failure -j "$(nproc)" --timeout 600
