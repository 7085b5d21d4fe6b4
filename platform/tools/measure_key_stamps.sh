#!/usr/bin/env bash
# Runs the key stamp probe against a private Xvfb. Usage:
#   platform/tools/measure_key_stamps.sh <probe binary> [--presses N] [--present-ms P]
set -euo pipefail
probe="$1"; shift
display=:$((90 + RANDOM % 9))
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null || true' EXIT
if command -v xdpyinfo >/dev/null; then
  for _ in $(seq 50); do
    DISPLAY="$display" xdpyinfo >/dev/null 2>&1 && break
    sleep 0.1
  done
else
  sleep 1
fi
DISPLAY="$display" SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy "$probe" "$@"
