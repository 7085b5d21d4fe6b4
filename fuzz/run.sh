#!/usr/bin/env bash
# Builds the libFuzzer targets of the content readers with clang and runs each one.
# Usage: fuzz/run.sh [seconds per target, default 60] [target...]. Crashing inputs land in
# build-fuzz/crashes/; keep them as regression fixtures in the tests/fixtures/fuzz/ folder
# of the reader's subsystem (content, sound, graphics, persist).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
seconds="${1:-60}"
shift || true
build="${TESSARU_FUZZ_BUILD_DIR:-$root/build-fuzz}"
flags="-fsanitize=fuzzer-no-link,address -fno-omit-frame-pointer -g"

CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTESSARU_BUILD_FUZZ=ON -DTESSARU_BUILD_TESTS=OFF -DTESSARU_GENERATE_DATA=OFF \
  -DCMAKE_C_FLAGS="$flags" -DCMAKE_CXX_FLAGS="$flags" >/dev/null
targets=(unpack_text part_file song_file dance_file bga_file song_parts wave_file bmp_decode ini_file)
if [ $# -gt 0 ]; then targets=("$@"); fi
cmake --build "$build" -j 2 --target fuzz_make_seeds "${targets[@]/#/fuzz_}"

# Seed corpora: well-formed files written by the encoders.
seeds="$build/seeds"
mkdir -p "$seeds" "$build/crashes"
ASAN_OPTIONS=detect_leaks=0 "$build/fuzz/fuzz_make_seeds" "$seeds"
declare -A seed=([unpack_text]="song.zxs dance.zxd bga.zxb" [part_file]=part.zxp
                 [song_file]="song.zxs song1.zxs" [dance_file]=dance.zxd [bga_file]=bga.zxb
                 [song_parts]=songfolder.bin [wave_file]="stereo16.wav mono8.wav"
                 [bmp_decode]="pal4.bmp rle8.bmp mask16.bmp rgb24.bmp" [ini_file]=records.ini)

status=0
for target in "${targets[@]}"; do
  corpus="$build/corpus/$target"
  mkdir -p "$corpus"
  for file in ${seed[$target]}; do cp "$seeds/$file" "$corpus/"; done
  echo "== fuzz_$target for ${seconds}s"
  if ! ASAN_OPTIONS=detect_leaks=1 "$build/fuzz/fuzz_$target" "$corpus" \
      -max_total_time="$seconds" -max_len=65536 -rss_limit_mb=2048 \
      -artifact_prefix="$build/crashes/$target-" -print_final_stats=1 2>"$build/$target.log"; then
    echo "   crashed: see $build/$target.log and $build/crashes/"
    status=1
  fi
  grep -E "stat::number_of_executed_units|stat::average_exec_per_sec|stat::peak_rss_mb" "$build/$target.log" | sed 's/^/   /'
done
exit $status
