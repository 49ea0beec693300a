#!/usr/bin/env bash
# Time from process start to the main window shown, and the process's peak memory after start-up,
# on an empty account and on a filled one. Runs the program under its own Xvfb.
# Usage: bench/startup.sh [build-dir] [runs]   (defaults: build 15)
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
runs=${2:-15}
program="$build/src/app/tenvoria"
work=$(mktemp -d)
n=90
while [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
Xvfb ":$n" -noreset -screen 0 1280x1024x24 >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; wait $xvfb 2>/dev/null; rm -rf "$work"' EXIT
export DISPLAY=:$n
# One start in a hundred opens the home page; a browser that opens at once keeps that start's
# report box ("no browser") from stopping the run.
mkdir -p "$work/bin"
printf '#!/bin/sh\nexit 0\n' > "$work/bin/xdg-open"
chmod +x "$work/bin/xdg-open"
export PATH="$work/bin:$PATH"
until xdotool getdisplaygeometry >/dev/null 2>&1; do sleep 0.05; done

# A filled account: the sample record, as the program itself stores it.
mkdir -p "$work/filled"
"$build/tools/render/tenvoria-render" --sample --doc "$work/sample.doc" >/dev/null 2>&1 || true
python3 - "$work/filled/Marrowick.conf" <<'PY'
import sys
values = {"App Info Name": "Dorian Pellwick Jr.", "App Info Date Of Birth": "17 June 1978",
          "App Info Current Address": "Elm Street", "App Info Current City": "Holderness",
          "Co Name": "Marla Pellwick-Ostrand", "Relationship": "Brother", "App Info Current House": "Rent"}
with open(sys.argv[1], "w") as f:
    f.write("[Tenvoria]\n")
    for k, v in values.items():
        f.write(k.replace(" ", "%20") + '="' + v + '"\n')
    for i in range(69):
        f.write(f"Field%20{i}=\"value {i}\"\n")
PY

measure() { # $1: config folder
  local times=() peaks=()
  for run in $(seq "$runs"); do
    local start end pid
    start=$(date +%s%N)
    XDG_CONFIG_HOME="$1" TEMP="$work" "$program" >/dev/null 2>"$work/stderr" &
    pid=$!
    # xdotool's own --sync waits half a second between looks; look every 5 ms instead (looking
    # without a pause opens connections faster than the X server takes them back).
    until xdotool search --onlyvisible --name '^Tenvoria$' >/dev/null 2>&1; do
      sleep 0.005
      kill -0 "$pid" 2>/dev/null || { echo "run $run: the program ended before showing its window:" >&2; cat "$work/stderr" >&2; exit 1; }
    done
    end=$(date +%s%N)
    sleep 0.3
    peaks+=("$(awk '/VmHWM/ {print $2}' "/proc/$pid/status")")
    kill "$pid"; wait "$pid" 2>/dev/null || true
    times+=($(( (end - start) / 1000000 )))
  done
  local mid=$(( (runs + 1) / 2 ))
  echo "  start to window shown, median of $runs: $(printf '%s\n' "${times[@]}" | sort -n | sed -n "${mid}p") ms"
  echo "  peak memory (VmHWM), median: $(( $(printf '%s\n' "${peaks[@]}" | sort -n | sed -n "${mid}p") / 1024 )) MB"
}

mkdir -p "$work/empty"
echo "empty account:"; measure "$work/empty"
echo "filled account:"; measure "$work/filled"
