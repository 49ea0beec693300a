#!/usr/bin/env bash
# Makes the README's screenshots from the program as it is built, so that they stay true:
# the main window with the sample record, the preview of its form, and the Applicants window
# on a folder of three applicants with the rent typed. Each run starts on an empty X server
# with a home of its own; nothing of the user's store or recent list is read or written.
# Usage: tools/readme-screenshots.sh [build-dir] [out-dir]   (defaults: build docs/screenshots)
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(cd "${1:-build}" && pwd)
out=${2:-docs/screenshots}
for tool in Xvfb xdotool import; do
  command -v "$tool" >/dev/null || { echo "readme-screenshots.sh needs $tool" >&2; exit 1; }
done
mkdir -p "$out"
out=$(cd "$out" && pwd)
work=$(mktemp -d)
n=70
while [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
Xvfb ":$n" -noreset -screen 0 1280x1024x24 >/dev/null 2>&1 &
xvfb=$!
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  kill $xvfb 2>/dev/null; wait $xvfb 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
export DISPLAY=:$n HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" \
  XDG_STATE_HOME="$work/home/.local/state" XDG_RUNTIME_DIR="$work/runtime" TMPDIR="$work/tmp"
mkdir -p "$XDG_CONFIG_HOME" "$XDG_STATE_HOME" "$TMPDIR" && mkdir -m 0700 "$XDG_RUNTIME_DIR"
until xdotool getdisplaygeometry >/dev/null 2>&1; do sleep 0.05; done

render=$build/tools/render/tenvoria-render
program=$build/src/app/tenvoria

# Waits up to 20 s for a visible window whose name matches, and prints its id.
window() {
  local id
  for _ in $(seq 400); do
    id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | tail -1 || true)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.05
  done
  echo "no window named '$1' appeared" >&2
  return 1
}
shoot() { sleep 0.7; import -window "$1" "$out/$2"; echo "wrote $out/$2"; }

# The sample record as the store, written by the program's own headless tool.
"$render" --sample --save-applicant "$XDG_CONFIG_HOME/Marrowick.conf" >/dev/null

"$program" >/dev/null 2>&1 &
pids+=($!)
main=$(window '^Tenvoria$')
shoot "$main" tenvoria-main-window.png
# "Start Creating Template": the top button's middle, below the 19-pixel menu bar.
xdotool mousemove --window "$main" 348 40 click 1
sleep 0.5
for _ in $(seq 400); do
  preview=$(xdotool search --onlyvisible --name '^Tenvoria$' 2>/dev/null | grep -vx "$main" | tail -1 || true)
  [ -n "$preview" ] && break
  sleep 0.05
done
[ -n "$preview" ] || { echo "the preview did not open" >&2; exit 1; }
shoot "$preview" tenvoria-preview.png
kill "${pids[@]}"; wait "${pids[@]}" 2>/dev/null || true
pids=()

# Three applicants of one vacancy: the sample under other names and incomes.
folder="$work/home/12 Elm Street"
mkdir -p "$folder"
sample=$work/sample.tenvoria
"$render" --sample --save-applicant "$sample" >/dev/null
make_applicant() { # name file income co-income
  sed -e "s/Dorian Pellwick Jr\./$1/" -e "s|^\(App%20Info%20Emp%20Info%20Annual%20Income\)=.*|\1=\"$3\"|" \
    -e "s|^\(Co%20Emp%20Info%20Annual%20Income\)=.*|\1=\"$4\"|" \
    "$sample" > "$folder/$2.tenvoria"
}
make_applicant "Dorian Pellwick" pellwick '$52,000' '$18,000'
make_applicant "Amara Okonkwo" okonkwo '4,100/month' ''
make_applicant "Lucía Fernández" fernandez '$21/hr' '$1,900/month'
chmod 600 "$folder"/*.tenvoria
"$program" --applicants "$folder" >/dev/null 2>&1 &
pids+=($!)
list=$(window '^Applicants')
xdotool windowactivate --sync "$list" 2>/dev/null || true
# The monthly rent: its field sits right of its label at the window's top left.
xdotool mousemove --window "$list" 150 55 click 1
xdotool type --window "$list" --delay 20 "1450"
xdotool key --window "$list" Return
shoot "$list" tenvoria-applicants.png
