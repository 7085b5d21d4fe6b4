#!/usr/bin/env bash
# Game time per second of wall time of a scripted headless run: the free-mode example
# (title to one stage to the results) run N times in a fresh program folder.
# Usage: bench/script_speed.sh [RUNS] [MAXFPS]   (after a build into build/)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
runs=${1:-5} fps=${2:-60}
game="$root/build/bin/tessaru"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for i in $(seq "$runs"); do
  rm -rf "$work/p" && mkdir "$work/p"
  printf '[USER]\r\nDATAPATH=%s\r\nMAXFPS=%s\r\n' "$root/build/bin" "$fps" > "$work/p/user.ini"
  start=$(date +%s.%N)
  "$game" --headless --script "$root/scripts/examples/free-mode.txt" --frames "$work/frames" \
    --program-dir "$work/p" > "$work/out.json"
  end=$(date +%s.%N)
  python3 - "$work/out.json" "$start" "$end" <<'PY'
import json, sys
report = json.load(open(sys.argv[1]))
wall = float(sys.argv[3]) - float(sys.argv[2])
game = report["GameMs"] / 1000
print(f"{game:7.1f} s of game time in {wall:5.2f} s of wall time: {game / wall:5.1f}x")
PY
done
