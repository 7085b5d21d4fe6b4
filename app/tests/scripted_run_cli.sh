#!/usr/bin/env bash
# `tessaru --headless --script`: a good script prints one JSON line; each kind of bad input
# stops with one line naming the problem (and the script's line) before the game starts.
# Usage: scripted_run_cli.sh GAME DATA_DIR SCRATCH_DIR
set -u
game=$1 data=$2 scratch=$3
rm -rf "$scratch" && mkdir -p "$scratch/program"
printf '[USER]\r\nDATAPATH=%s\r\nMAXFPS=20\r\n' "$data" > "$scratch/program/user.ini"
failures=0

# run NAME WANT_STATUS WANT_STDERR_START SCRIPT_TEXT [OPTIONS...]: SCRIPT_TEXT goes to
# $scratch/NAME.txt; an empty WANT_STDERR_START wants nothing on stderr.
run() {
  local name=$1 want_status=$2 want_err=$3 text=$4
  shift 4
  local script="$scratch/$name.txt"
  printf '%b' "$text" > "$script"
  "$game" --headless --script "$script" --program-dir "$scratch/program" "$@" \
    > "$scratch/$name.out" 2> "$scratch/$name.err"
  local status=$?
  local err
  err=$(cat "$scratch/$name.err")
  err=${err//$script/SCRIPT}
  local ok=1
  [ "$status" -eq "$want_status" ] || ok=0
  if [ -z "$want_err" ]; then
    [ -z "$err" ] || ok=0
  else
    [ "$(wc -l < "$scratch/$name.err")" -eq 1 ] && [[ "$err" == "$want_err"* ]] || ok=0
  fi
  if [ $ok -eq 0 ]; then
    echo "FAIL $name: status $status (want $want_status), stderr: $err"
    failures=$((failures + 1))
  fi
}

# The reading errors: nothing of the game may have run.
run unknown-key 2 "tessaru: SCRIPT:2: no key is named 'Foo'" 'at 100 tap Return\nat 200 tap Foo\n'
run backwards 2 "tessaru: SCRIPT:3: the time '100' goes back before the line 1 above" \
  'at 500 tap z\n# a comment\nat 100 tap z\n'
run shot-without-frames 2 "tessaru: SCRIPT:2: a shot needs --frames DIR" 'at 100 tap z\nat 200 shot title\n'
run bad-limit 2 "tessaru: --max-ms 'soon' is not a positive number" 'at 100 quit\n' --max-ms soon
[ -e "$scratch/program/hsc.ini" ] && { echo "FAIL: a refused script started the game"; failures=$((failures + 1)); }

"$game" --headless > /dev/null 2> "$scratch/no-script.err"
[ $? -eq 2 ] && grep -q -- "--headless needs --script FILE" "$scratch/no-script.err" ||
  { echo "FAIL --headless alone: $(cat "$scratch/no-script.err")"; failures=$((failures + 1)); }
"$game" --script "$scratch/unknown-key.txt" > /dev/null 2> "$scratch/no-headless.err"
[ $? -eq 2 ] && grep -q -- "go with --headless" "$scratch/no-headless.err" ||
  { echo "FAIL --script alone: $(cat "$scratch/no-headless.err")"; failures=$((failures + 1)); }
"$game" --headless --script "$scratch/nowhere.txt" --program-dir "$scratch/program" > /dev/null 2> "$scratch/missing.err"
[ $? -eq 2 ] && grep -q "nowhere.txt cannot be read" "$scratch/missing.err" ||
  { echo "FAIL missing script: $(cat "$scratch/missing.err")"; failures=$((failures + 1)); }

# A second copy on the same folder says so on stderr: there may be no display for a box.
flock "$scratch/program/tessaru.lock" "$game" --headless --script "$scratch/unknown-key.txt" \
  --program-dir "$scratch/program" > /dev/null 2> "$scratch/second.err"
[ $? -eq 1 ] && grep -q "すでに、Tessaruが起動されているようです。" "$scratch/second.err" ||
  { echo "FAIL second copy: $(cat "$scratch/second.err")"; failures=$((failures + 1)); }

# Runs that play: the report is one JSON line on stdout.
run quits 0 "" 'at 600 shot title\nat 700 quit\n' --frames "$scratch/frames"
grep -q '^{"Exit":"quit","Status":0,' "$scratch/quits.out" && [ "$(wc -l < "$scratch/quits.out")" -eq 1 ] &&
  [ -s "$scratch/frames/title.png" ] || { echo "FAIL quits: $(cat "$scratch/quits.out")"; failures=$((failures + 1)); }
run never-quits 3 "tessaru: SCRIPT did not quit within 1500 ms of game time" 'at 100 tap Down\n' --max-ms 1500
grep -q '^{"Exit":"time-limit",' "$scratch/never-quits.out" ||
  { echo "FAIL never-quits: $(cat "$scratch/never-quits.out")"; failures=$((failures + 1)); }

[ $failures -eq 0 ] && echo "all scripted-run command-line cases passed"
exit $failures
