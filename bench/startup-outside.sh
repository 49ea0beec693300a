#!/usr/bin/env bash
# Start-up as the user sees it, measured from outside the process: from the moment the program
# is started to the moment the X server maps its main window, with the sample record stored.
# One warm-up start, then the median of the timed starts. The map is taken from the X server's
# own notice (xev watching the root window), so nothing polls the server and takes a core from
# the program while it starts (bench/startup.sh polls with xdotool, as a user's script would).
# With a second build folder, the two programs take turns, start for start, so that both see
# the same machine load. Each start runs with TENVORIA_STARTUP_TRACE=1, and the script prints the
# start's timeline: the median of each phase, from the start to main() (loading and relocating
# the libraries) through the program's own phase marks to the map notice. When the first build
# has bench/bench_empty_window, an empty Qt window of the program's size takes its turn too: the
# floor that no work inside the program can remove.
# Usage: bench/startup-outside.sh [build-dir] [runs] [other-build-dir]   (defaults: build 5)
set -euo pipefail
builds=("$(cd "${1:-build}" && pwd)")
runs=${2:-5}
[ -n "${3:-}" ] && builds+=("$(cd "$3" && pwd)")
for tool in Xvfb xev xdotool; do
  command -v "$tool" >/dev/null || { echo "startup-outside.sh needs $tool" >&2; exit 1; }
done
work=$(mktemp -d)
n=90
while [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
Xvfb ":$n" -noreset -screen 0 1280x1024x24 >/dev/null 2>&1 &
xvfb=$!
watcher=
cleanup() {
  [ -n "$watcher" ] && kill "$watcher" 2>/dev/null
  kill $xvfb 2>/dev/null; wait $xvfb 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
export DISPLAY=:$n XDG_RUNTIME_DIR="$work/runtime"
mkdir -p -m 0700 "$XDG_RUNTIME_DIR"
# One start in a hundred opens the home page; a browser that opens at once keeps that start's
# report box ("no browser") from stopping the run.
mkdir -p "$work/bin"
printf '#!/bin/sh\nexit 0\n' > "$work/bin/xdg-open"
chmod +x "$work/bin/xdg-open"
export PATH="$work/bin:$PATH"
until xdotool getdisplaygeometry >/dev/null 2>&1; do sleep 0.05; done

window_id() { xdotool search --onlyvisible --name "${1:-^Tenvoria\$}" 2>/dev/null | head -1; }

# The sample record, stored by the program itself: its "Load Sample/Example Data" button.
mkdir -p "$work/config"
XDG_CONFIG_HOME="$work/config" "${builds[0]}/src/app/tenvoria" >/dev/null 2>&1 &
pid=$!
until [ -n "$(window_id)" ]; do sleep 0.05; done
# The button's middle, in the window's own pixels: its twip rectangle 5280,630 5040x405 / 15,
# below the 19-pixel menu bar.
xdotool mousemove --window "$(window_id)" 520 74 click 1
store="$work/config/Marrowick.conf"
for _ in $(seq 100); do grep -q 'Dorian Pellwick' "$store" 2>/dev/null && break; sleep 0.05; done
kill "$pid"; wait "$pid" 2>/dev/null || true
grep -q 'Dorian Pellwick' "$store" || { echo "the sample record was not stored" >&2; exit 1; }
cp "$store" "$work/sample.conf"

# Every window the X server maps, one line each, as it happens.
mkfifo "$work/maps"
stdbuf -oL xev -root -event substructure > "$work/maps" 2>/dev/null &
watcher=$!
exec 3<"$work/maps"

now_us() { local t=${EPOCHREALTIME/./}; echo "$t"; }
# Starts the program once; prints the microseconds from the start to the map notice.
start_once() { # $1: the program, $2: file the run's phases are added to, $3: its window's name
  cp "$work/sample.conf" "$store"
  local line start mapped pid
  while read -r -t 0.01 line <&3; do :; done # notices of earlier runs
  start=$(now_us)
  XDG_CONFIG_HOME="$work/config" TENVORIA_STARTUP_TRACE=1 "$1" >/dev/null 2>"$work/stderr" &
  pid=$!
  mapped=
  while read -r -t 10 line <&3; do
    case $line in MapNotify*) mapped=$(now_us); break ;; esac
  done
  [ -n "$mapped" ] || { echo "no window was mapped:" >&2; cat "$work/stderr" >&2; exit 1; }
  [ -n "$(window_id "$3")" ] || { echo "the window mapped is not the main window" >&2; exit 1; }
  kill "$pid"; wait "$pid" 2>/dev/null || true
  # The marks up to the map request, each as the milliseconds since the one before it, then the
  # wait for the map notice (negative when the notice came while show() was still at work).
  awk -v start="$start" -v mapped="$mapped" '
    BEGIN { last = start }
    /^tenvoria start-up: / && !done {
      t = $3 * 1e6
      phase = $0; sub(/^tenvoria start-up: [0-9.]+ +[-+0-9.]+ ms /, "", phase)
      if (!n++) phase = "start to main(): loading and relocating the libraries"
      printf "%s\t%.2f\n", phase, (t - last) / 1000; last = t
      if (phase ~ /^main window shown/) done = 1
    }
    END { printf "%s\t%.2f\n", "to the X server'"'"'s map notice", (mapped - last) / 1000 }
  ' "$work/stderr" >> "$2"
  echo "$(( mapped - start ))"
}

median() { printf '%s\n' "$@" | sort -n | sed -n "$(( ($# + 1) / 2 ))p"; }
programs=() names=() labels=()
for b in "${builds[@]}"; do programs+=("$b/src/app/tenvoria"); names+=('^Tenvoria$'); labels+=("$b"); done
if [ -x "${builds[0]}/bench/bench_empty_window" ]; then
  programs+=("${builds[0]}/bench/bench_empty_window"); names+=('^Tenvoria floor$'); labels+=("floor (an empty Qt window)")
fi
declare -A mapped
for p in "${!programs[@]}"; do start_once "${programs[$p]}" /dev/null "${names[$p]}" >/dev/null || exit 1; done # warm-up
for run in $(seq "$runs"); do
  for p in "${!programs[@]}"; do
    m=$(start_once "${programs[$p]}" "$work/phases.$p" "${names[$p]}") || exit 1
    mapped[$p]+="$m "
  done
done
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
for p in "${!programs[@]}"; do
  # shellcheck disable=SC2086
  printf '%s: start to main window mapped, median of %d: %.1f ms (all: %s)\n' "${labels[$p]}" "$runs" \
    "$(echo "$(median ${mapped[$p]}) / 1000" | bc -l)" "$(for v in ${mapped[$p]}; do printf '%d ' $((v / 1000)); done)"
done
# The timeline: each phase's median over the runs, in the order the phases come.
for b in "${!builds[@]}"; do
  echo "${builds[$b]}: timeline, median ms of each phase"
  awk -F'\t' '
    !($1 in seen) { seen[$1] = ++n; name[n] = $1 }
    { v[$1] = v[$1] " " $2 }
    END {
      for (i = 1; i <= n; i++) {
        k = split(v[name[i]], a, " ")
        for (x = 2; x <= k; x++) for (y = x; y > 1 && a[y - 1] + 0 > a[y] + 0; y--) { t = a[y]; a[y] = a[y - 1]; a[y - 1] = t }
        printf "  %7.2f  %s\n", a[int((k + 1) / 2)], name[i]
      }
    }' "$work/phases.$b"
done
