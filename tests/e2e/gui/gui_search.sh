#!/usr/bin/env bash
# The real program under Xvfb, driven like a user with xdotool: start it, press Ctrl+S, and check
# through the frame monitor that every transmitter on the loop was identified (commands 0 and 13
# answered for each). Runs against the in-process loop (--simulate) and against hartsim on a
# pseudo-terminal (--port), and saves a screenshot of the first.
# usage: gui_search.sh VMC70 FRAMEDEBUG HARTSIM SCREENSHOT.png
set -euo pipefail
vmc70=$1 framedebug=$2 hartsim=$3 shot=$4
for tool in xvfb-run xdotool import convert; do
  command -v "$tool" >/dev/null || { echo "missing $tool (scripts/deps.sh installs it)"; exit 1; }
done

work=$(mktemp -d)
export HOME=$work XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/run VMC70_TIME_SCALE=0.1
mkdir -p "$XDG_CONFIG_HOME" && mkdir -m 700 "$XDG_RUNTIME_DIR"
pids=()
cleanup() { for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done; rm -rf "$work"; }
trap cleanup EXIT

inner=$work/inner.sh
cat > "$inner" <<'INNER'
set -euo pipefail
vmc70=$1 framedebug=$2 hartsim=$3 shot=$4 work=$5
title='^Korvex VMC70 Ver 2.3.33$'

# Counts the answers to command 13 the frame monitor has seen.
answers13() { grep -c 'RSP  cmd  13' "$1" 2>/dev/null || true; }

run_case() { # name, expected devices, program arguments...
  local name=$1 expected=$2; shift 2
  local log=$work/$name.frames
  "$framedebug" --console --log "$log" > /dev/null 2>&1 &
  local monitor=$!
  for _ in $(seq 50); do [ -S "$XDG_RUNTIME_DIR"/vmc70-*-FrameDebug ] && break; sleep 0.1; done
  "$vmc70" "$@" > "$work/$name.out" 2>&1 &
  local program=$!
  local win
  win=$(timeout 20 xdotool search --sync --name "$title" | head -1)
  [ -n "$win" ] || { echo "$name: no window"; cat "$work/$name.out"; return 1; }
  sleep 0.5
  xdotool windowfocus --sync "$win"
  xdotool key ctrl+s
  for _ in $(seq 300); do
    [ "$(answers13 "$log")" -ge "$expected" ] && ! xdotool search --name '^Searching HART Device' >/dev/null && break
    sleep 0.1
  done
  local found
  found=$(answers13 "$log")
  if [ "$found" -lt "$expected" ]; then
    echo "$name: $found of $expected transmitters answered command 13"; cat "$work/$name.out"; return 1
  fi
  kill -0 "$program" || { echo "$name: the program ended"; return 1; }
  echo "$name: $found transmitters identified"
  if [ "$name" = simulate ]; then
    sleep 0.5
    import -window "$win" "$shot"
  fi
  kill "$program" "$monitor"
  wait "$program" "$monitor" 2>/dev/null || true
}

run_case simulate 7 --simulate

"$hartsim" > "$work/hartsim.out" 2>&1 &
sim=$!
for _ in $(seq 50); do [ -s "$work/hartsim.out" ] && break; sleep 0.1; done
pty=$(head -1 "$work/hartsim.out")
run_case port 7 --port "$pty"
kill "$sim"
INNER

xvfb-run -a -s "-screen 0 1024x768x24" bash "$inner" "$vmc70" "$framedebug" "$hartsim" "$shot" "$work"

# The screenshot shows a drawn window, not an empty screen.
colours=$(convert "$shot" -format '%k' info:)
[ "$colours" -gt 50 ] || { echo "screenshot has only $colours colours"; exit 1; }
echo "screenshot: $shot ($colours colours)"
