#!/usr/bin/env bash
# The demo road over a finished build (tools/run.sh runs it): the setup
# program installs the product into a fresh Wine prefix of its own, the
# stand-in PowerPoint starts it through the loader add-in and runs a slide
# show with live content (pictures of each slide) and installs an update
# from a loopback update service through the update add-in, the player plays a
# generated movie with the movie engine and the slide movie control keeps it,
# and PowerPoint shuts down leaving no process behind. One line per step with
# its outcome and time; the evidence lands in $VISTELLO_BUILD/out/demo. The
# first failing step stops the road with a message naming it and exit code 1.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/env.sh"

build=$VISTELLO_BUILD
out=$build/out/demo
work=$build/demo
bin=$build/tests
product=(VistelloLoaderAddIn.dll VistelloAddIn.dll VistelloUpdaterAddIn.dll VistelloTrampoline.exe)
# What the stand-in PowerPoint does while it stays open, in order.
office_steps=(startup show update)
road_start=$(date +%s.%N)
reason=""
summary=""
office_pid=""

winpath() { local path=$1; printf 'Z:%s' "${path//\//\\}"; }
seconds_since() { awk -v a="$1" -v b="$(date +%s.%N)" 'BEGIN { printf "%.1f", b - a }'; }
fail() { reason=$*; echo "demo: $*"; return 1; }

# Runs a step's function with its output in the step's log; prints its line.
run_step() {
  local number=$1 name=$2 start status log=$out/step-$1-$2.log
  start=$(date +%s.%N)
  reason="" summary=""
  if "step_$name" >"$log" 2>&1 </dev/null; then status=done; else status=FAILED; fi
  printf 'demo: step %d %-9s %-6s %6s s  %s\n' "$number" "$name" "$status" "$(seconds_since "$start")" \
    "${summary:-$reason}"
  if [ $status = FAILED ]; then
    tail -n 15 "$log" | sed 's/^/demo:   | /' >&2
    echo "demo: FAILED at step $number ($name): ${reason:-see $log}" >&2
    exit 1
  fi
}

# A prefix of the demo's own, copied from a clean one made once, so every run
# starts with nothing installed and leaves the project's prefix alone.
fresh_prefix() {
  local clean=$work/clean-prefix
  if [ ! -f "$clean/system.reg" ]; then
    rm -rf "$clean" && mkdir -p "$clean"
    WINEPREFIX=$clean wineboot -i >/dev/null 2>&1 || return 1
    WINEPREFIX=$clean wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1 \
      || return 1
    WINEPREFIX=$clean wineserver -k >/dev/null 2>&1
    WINEPREFIX=$clean wineserver -w >/dev/null 2>&1
  fi
  rm -rf "$work/prefix" && cp -a "$clean" "$work/prefix"
}

reg_query() { wine reg query "$@" 2>/dev/null | tr -d '\r'; }

# VistelloSetup.exe alone in an empty folder installs the product it carries
# (setup/Packages.md); its resources are listed in setup-resources.txt.
step_install() {
  local media=$work/media setup folder code key clsid packages
  setup=$build/out/VistelloSetup.exe
  rm -rf "$media" && mkdir -p "$media"
  cp "$setup" "$media/" || { fail "the build lacks VistelloSetup.exe"; return; }
  i686-w64-mingw32-objdump -p "$setup" | sed -n '/^The .rsrc Resource Directory/,/^$/p' >"$out/setup-resources.txt"
  [ -s "$out/setup-resources.txt" ] || { fail "the resources of VistelloSetup.exe could not be listed"; return; }
  wine "$media/VistelloSetup.exe" /silent
  code=$?
  [ $code = 0 ] || { fail "the setup program ended with code $code"; return; }
  folder="$WINEPREFIX/drive_c/Program Files/Vistello"
  for key in "${product[@]}" plugins.dat updater/history.dat Kernel/Kernel.vmp; do
    [ -f "$folder/$key" ] || { fail "the installation lacks $key"; return; }
  done
  clsid=$(reg_query 'HKCR\Vistello.AddIn\CLSID' /ve | sed -n 's/.*REG_SZ *//p')
  : >"$out/registry.txt"
  for key in 'HKLM\Software\Microsoft\Office\PowerPoint\AddIns\VistelloLoader.AddIn' 'HKCR\VistelloLoader.AddIn' \
             'HKCR\Vistello.AddIn' "HKCR\\CLSID\\$clsid\\InprocServer32" \
             'HKCR\VistelloUpdater.AddIn' 'HKCR\VistelloTrampoline.VistelloTrampolineObject'; do
    reg_query "$key" /s >>"$out/registry.txt" || { fail "the installer did not register $key"; return; }
  done
  (cd "$folder" && find . -type f | sort) >"$out/installed-files.txt"
  packages=$(grep -cE 'Entry: ID: 0x0003e[89a-d],' "$out/setup-resources.txt")
  summary="VistelloSetup.exe alone in an empty folder installed the $packages packages it carries into"
  summary+=" C:\\Program Files\\Vistello and registered them (setup-resources.txt, installed-files.txt, registry.txt)"
}

# Waits until the stand-in PowerPoint reports the step; its summary or its
# failure becomes the step's.
office_step() {
  local step=$1 limit=$2 line="" waited=0
  while [ -z "$line" ]; do
    line=$(grep -m1 "^$step " "$out/office-progress.txt" 2>/dev/null)
    [ -n "$line" ] && break
    kill -0 "$office_pid" 2>/dev/null || { fail "the stand-in PowerPoint ended before its $step step (office.log)"; return; }
    [ $waited -lt $((limit * 10)) ] || { fail "no $step report from the stand-in PowerPoint in $limit s"; return; }
    sleep 0.1
    waited=$((waited + 1))
  done
  case $line in
    "$step done: "*) summary=${line#"$step done: "} ;;
    *) fail "${line#"$step failed: "}" ;;
  esac
}

step_startup() {
  rm -f "$out/office-progress.txt" "$out/close.request"
  WINEDLLOVERRIDES="mscoree=n;mshtml=" wine "$bin/demo_office.exe" "$(winpath "$out")" "${office_steps[@]}" \
    >"$out/office.log" 2>&1 </dev/null &
  office_pid=$!
  office_step startup 120 || return
  # The add-in's own Office entry, which the loader had it write.
  reg_query 'HKCU\Software\Microsoft\Office\PowerPoint\AddIns\Vistello.AddIn' /s >>"$out/registry.txt" \
    || { fail "the add-in wrote no Office entry at its first start"; return; }
}

# The stand-in PowerPoint runs the show; the pictures land in the out folder.
step_show() {
  office_step show 240 || return
  local n
  for n in 1 2 3; do
    [ -s "$out/show-$n.png" ] || { fail "the show left no picture show-$n.png"; return; }
  done
}

# The stand-in PowerPoint runs the update cycle against its loopback update
# service; the record of it lands in the out folder.
step_update() {
  office_step update 240 || return
  local file
  for file in versions-before.txt versions-after.txt ready.dat result.dat; do
    [ -s "$out/$file" ] || { fail "the update left no $file"; return; }
  done
}

# The player draws with OpenGL into an X window of its own, off the screen:
# the largest unnamed one.
gl_window() {
  xwininfo -root -tree | awk '/\(has no name\): \(\)/ {
      split($6, size, /[x+-]/); area = size[1] * size[2]
      if (area > best) { best = area; id = $1 } }
    END { if (id) print id }'
}

# Pixels within a tenth of the demo movie's red (220, 30, 30).
red_pixels() {
  convert "$1" -alpha off -fuzz 10% -transparent 'rgb(220,30,30)' -alpha extract -negate \
    -format '%[fx:round(mean*w*h)]' info:
}

step_player() {
  local movie=$out/demo.swf ready=$work/player.ready done=$work/player.done pid window n red code
  wine "$bin/demo_movie.exe" "$(winpath "$movie")" "$(winpath "$build/fixtures/demo_tone.mp3")" \
    || { fail "the demo movie could not be written"; return; }
  rm -f "$ready" "$done" "$out"/player-*.png
  wine "$bin/demo_player.exe" "$(winpath "$movie")" "$(winpath "$ready")" "$(winpath "$done")" >"$out/player.txt" &
  pid=$!
  for _ in $(seq 600); do
    [ -f "$ready" ] || ! kill -0 $pid 2>/dev/null && break
    sleep 0.1
  done
  [ -f "$ready" ] || { wait $pid; fail "the player did not start playing"; return; }
  # The first frames may take a while to reach the window on a loaded
  # machine: the pictures start once the red square shows.
  for _ in $(seq 40); do
    window=$(gl_window)
    [ -n "$window" ] && import -window "$window" "$out/player-1.png" 2>/dev/null \
      && red=$(red_pixels "$out/player-1.png") && [ "$red" -ge 5000 ] && break
    sleep 0.2
  done
  for n in 2 3; do
    [ "${red:-0}" -ge 5000 ] || break
    sleep 1
    import -window "$window" "$out/player-$n.png" || red=0
  done
  touch "$done"
  [ "${red:-0}" -ge 5000 ] || { wait $pid; fail "the player's pictures show ${red:-no} red pixels of the square"; return; }
  wait $pid
  code=$?
  [ $code = 0 ] || { fail "the player run ended with code $code"; return; }
  wine "$bin/demo_control.exe" "$(winpath "$movie")" "$(winpath "$out/control-stream.bin")" >"$out/control.txt" \
    || { fail "the slide movie control did not keep the movie"; return; }
  summary="plovaplayer played demo.swf with the engine ($(sed -n 2p "$out/player.txt" | xargs)), $red red pixels in player-1.png; plovapoint saved and reloaded its stream"
}

# Windows programs of the demo's prefix other than Wine's own services.
demo_processes() {
  local pid command
  ps -eo pid=,args= | grep -i '\.exe' | grep -viE 'services|winedevice|plugplay|explorer|rpcss|svchost|conhost' \
    | while read -r pid command; do
        grep -qxzF "WINEPREFIX=$WINEPREFIX" "/proc/$pid/environ" 2>/dev/null && echo "$pid: $command"
      done
}

step_shutdown() {
  local code left=""
  touch "$out/close.request"
  office_step shutdown 60 || return
  wait "$office_pid"
  code=$?
  [ $code = 0 ] || { fail "the stand-in PowerPoint ended with code $code"; return; }
  for _ in $(seq 15); do
    left=$(demo_processes)
    [ -z "$left" ] && break
    sleep 1
  done
  [ -z "$left" ] || { fail "processes of the demo left running: $(echo "$left" | tr '\n' ';')"; return; }
  summary="$summary; no process of the demo left"
}

rm -rf "$out" && mkdir -p "$out" "$work"
echo "demo: the road under Wine, evidence in $out"
fresh_prefix || { echo "demo: FAILED: no fresh Wine prefix could be made in $work" >&2; exit 1; }
export WINEPREFIX=$work/prefix
. "$here/wine-session.sh"
run_step 1 install
run_step 2 startup
run_step 3 show
run_step 4 update
run_step 5 player
run_step 6 shutdown
echo "demo: every step done in $(seconds_since "$road_start") s"
