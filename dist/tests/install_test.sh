#!/usr/bin/env bash
# Installs the build into a scratch prefix, checks what a desktop needs, and plays the
# installed game without a display, with a scratch home: the player's files must land in
# the XDG folder, the installed data must be found, and nothing may be written into the
# install.
# usage: install_test.sh BUILD SCRATCH APP_ID BINDIR DATADIR
set -euo pipefail
build=$1 scratch=$2 id=$3 bindir=$4 datadir=$5

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

rm -rf "$scratch"
mkdir -p "$scratch"
# A blank in the prefix exercises the quoting of the desktop entry's Exec line.
prefix="$scratch/pre fix"
cmake --install "$build" --prefix "$prefix" >"$scratch/install.log"
share="$prefix/$datadir"
game="$prefix/$bindir/tessaru"

for f in "$game" "$prefix/$bindir/tessaru-tool" "$share/tessaru/songfn.zxt" "$share/tessaru/tessaru.png" \
  "$share/applications/$id.desktop" "$share/metainfo/$id.metainfo.xml"; do
  [[ -f "$f" ]] || fail "not installed: $f"
done
for size in 48 128 256; do
  icon="$share/icons/hicolor/${size}x${size}/apps/$id.png"
  [[ -f "$icon" ]] || fail "not installed: $icon"
  # A PNG's width and height are the big-endian words at bytes 16 and 20.
  read -r w h < <(od -An -tu4 --endian=big -j16 -N8 "$icon")
  [[ "$w $h" == "$size $size" ]] || fail "$icon is ${w}x$h"
done
desktop-file-validate "$share/applications/$id.desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$share/metainfo/$id.metainfo.xml" || fail "appstreamcli validate"
grep -qxF "Exec=\"$game\"" "$share/applications/$id.desktop" ||
  fail "the desktop entry does not start $game: $(grep ^Exec "$share/applications/$id.desktop")"
"$prefix/$bindir/tessaru-tool" validate-data "$share/tessaru" >/dev/null || fail "installed data do not validate"

# Runs the installed game with the given VAR=VALUE settings until it is closed the way a
# window is closed; its output goes to $scratch/$1.log and its status to $status.
play() {
  local name=$1
  shift
  env -u XDG_DATA_HOME "$@" SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy "$game" --skip-launcher >"$scratch/$name.log" 2>&1 &
  local pid=$! tries=0 caught
  # SIGTERM only once SDL catches it (it then saves and exits as on a closed window); an
  # earlier one would kill the game before it has written anything.
  while kill -0 "$pid" 2>/dev/null; do
    caught=$(awk '/^SigCgt:/ {print $2}' "/proc/$pid/status" 2>/dev/null || true)
    if (((16#${caught:-0} & 0x4000) != 0)); then
      sleep 1
      kill -TERM "$pid" 2>/dev/null || true
      break
    fi
    ((++tries < 600)) || { kill -KILL "$pid"; fail "$name: the game never started"; }
    sleep 0.1
  done
  status=0
  wait "$pid" || status=$?
}

# The player's files: what the game writes on its way out.
expect_user_files() {
  local folder=$1 name=$2
  [[ -f "$folder/hsc.ini" ]] || fail "$name: no hsc.ini in $folder ($(ls -A "$folder" 2>&1))"
  [[ ! -e "$folder/error.txt" ]] || fail "$name: the data were not found: $(cat "$folder/error.txt")"
}

find "$prefix" -type f | sort >"$scratch/installed.txt"

home="$scratch/home"
mkdir -p "$home"
play home HOME="$home"
((status == 0)) || fail "home: exit status $status: $(cat "$scratch/home.log")"
expect_user_files "$home/.local/share/tessaru" home

play xdg HOME="$home" XDG_DATA_HOME="$scratch/xdg"
((status == 0)) || fail "xdg: exit status $status: $(cat "$scratch/xdg.log")"
expect_user_files "$scratch/xdg/tessaru" xdg

# DATAPATH in the player's user.ini still names the data; error.txt then reports what is
# missing there, in the player's folder.
mkdir -p "$scratch/elsewhere/tessaru" "$scratch/nodata"
printf '[USER]\r\nDATAPATH=%s\r\n' "$scratch/nodata" >"$scratch/elsewhere/tessaru/user.ini"
play datapath HOME="$home" XDG_DATA_HOME="$scratch/elsewhere"
grep -qF "$scratch/nodata" "$scratch/elsewhere/tessaru/error.txt" ||
  fail "datapath: error.txt does not name the DATAPATH folder: $(cat "$scratch/elsewhere/tessaru/error.txt" 2>&1)"
[[ -z "$(ls -A "$scratch/nodata")" ]] || fail "datapath: files written into the data folder"

# A user folder that cannot be made: the game still plays and says so once, naming it.
touch "$scratch/afile"
play unwritable HOME="$home" XDG_DATA_HOME="$scratch/afile/xdg"
((status == 0)) || fail "unwritable: exit status $status: $(cat "$scratch/unwritable.log")"
# Without a display the message box falls back to the terminal: one box, one error line.
for channel in Tessaru tessaru; do
  count=$(grep -c "^$channel: $scratch/afile/xdg/tessaru" "$scratch/unwritable.log" || true)
  ((count == 1)) || fail "unwritable: said $count times by $channel: $(cat "$scratch/unwritable.log")"
done

# On a real X server the window carries the desktop id as its class and the icon, so a
# desktop ties it to the installed entry. Xvfb picks a free display itself.
exec {fd}<> <(:)
Xvfb -displayfd "$fd" -screen 0 800x600x24 -nolisten tcp >"$scratch/xvfb.log" 2>&1 &
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null || true' EXIT
read -r -t 30 -u "$fd" number || fail "Xvfb did not start: $(cat "$scratch/xvfb.log")"
export DISPLAY=":$number"
HOME="$home" SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy "$game" >"$scratch/x11.log" 2>&1 &
pid=$!
window=$(timeout 60 xdotool search --sync --classname "^$id\$" | head -n1) || true
[[ -n "$window" ]] || { kill -TERM "$pid"; fail "no window of class $id: $(cat "$scratch/x11.log")"; }
xprop -id "$window" WM_CLASS _NET_WM_ICON >"$scratch/xprop.txt"
kill -TERM "$pid"
wait "$pid" || true
grep -qxF "WM_CLASS(STRING) = \"$id\", \"$id\"" "$scratch/xprop.txt" || fail "class: $(head -n1 "$scratch/xprop.txt")"
grep -qF "Icon (128 x 128)" "$scratch/xprop.txt" || fail "the window has no icon: $(head -n3 "$scratch/xprop.txt")"

find "$prefix" -type f | sort | diff "$scratch/installed.txt" - || fail "the game wrote into the install"
rm -rf "$prefix"
echo "installed into $prefix, played from it, and removed"
