#!/usr/bin/env bash
# Mixes one song down on the headless devices (both players on autoplay, every other part
# automatic) and prints, with sox, the level of each channel and of their difference: a
# mono mix has no difference at all. The last 5 s (the result's jingles and voice, which
# are no part of the song) are left out. Usage:
#   gen/tools/measure_stereo.sh build/bin/tessaru-tool build/bin/songs/NAME/NAME.z4s [out.wav]
set -euo pipefail
tool="$1"
song="$2"
out="${3:-$(mktemp --suffix=.wav)}"
"$tool" play "$song" --headless --record "$out" >/dev/null
level() {  # peak and RMS of one mono view of the mix
  sox "$out" -n trim 0 -5 remix "$1" stat 2>&1 |
    awk -v name="$2" '/Maximum amplitude/ {max=$3} /Minimum amplitude/ {min=$3} /RMS +amplitude/ {rms=$3}
      END {peak = (-min > max) ? -min : max; printf "%-18s peak %.4f  RMS %.4f\n", name, peak, rms}'
}
level 1 "left"
level 2 "right"
level "1v0.5,2v0.5" "mid (L+R)/2"
level "1v0.5,2v-0.5" "side (L-R)/2"
echo "mix: $out"
