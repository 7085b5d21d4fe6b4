#!/usr/bin/env bash
# Plays one stage in a real window under a private Xvfb, sends short taps through XTEST
# (xdotool) on player 1's four lanes, ends the stage with Esc and counts the presses the
# stage took ("PressCount" of tessaru-tool play): with none lost, taken = sent. The stage
# is played as SESSION, which no run of misses ends early. Usage:
#   platform/tools/measure_taps.sh TOOL SONG [taps=300] [hold-ms=5] [gap-ms=100] [display=:82]
set -euo pipefail
tool="$1"
song="$2"
taps="${3:-300}"
hold="${4:-5}"
gap="${5:-100}"
display="${6:-:82}"
out="$(mktemp)"

Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null || true; rm -f "$out"' EXIT
sleep 1
export DISPLAY="$display"
SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy "$tool" play "$song" --part 0 --style 2 --windowed >"$out" &
game=$!
window="$(xdotool search --sync --pid "$game" 2>/dev/null | head -n 1)"
xdotool windowfocus --sync "$window" 2>/dev/null || xdotool windowfocus "$window"
sleep 3  # the loading screen and the first bars

lanes=(z x c v)
script=()
for ((i = 0; i < taps; i++)); do
  key="${lanes[$((i % 4))]}"
  script+=(keydown "$key" sleep "$(printf '0.%03d' "$hold")" keyup "$key" sleep "$(printf '%d.%03d' $((gap / 1000)) $((gap % 1000)))")
done
xdotool "${script[@]}"
sleep 0.5
xdotool key Escape
wait "$game" || true
taken="$(python3 -c 'import json,sys; print(json.load(open(sys.argv[1]))["PressCount"])' "$out")"
python3 -c 'import json,sys; j=json.load(open(sys.argv[1])); print("EndState", j["EndState"], "LastStep", j["LastStep"], "judged", len(j["Presses"]))' "$out"
echo "taps sent: $taps of $hold ms, $gap ms apart; presses the stage took: $taken; lost: $((taps - taken))"
