#!/usr/bin/env bash
# Whole processes side by side: `tenvoria-render` making the sample record's .doc and its 192 dpi
# page image, against LibreOffice headless converting that .doc to a 192 dpi page image (via PDF,
# as Writer exports pages). The runs alternate, so that all see the same machine load; with a
# second build folder, that build's tenvoria-render takes its turn too (before and after a change).
# Each process is timed alone, from the shell's own clock ($EPOCHREALTIME: no `date` or `time`
# process of its own in the measure); peak memory comes from one more run of each under
# /usr/bin/time, untimed. The script prints the medians, the ratios and the peaks; and, as the
# floor, an empty process that only starts Qt's GUI layer, and the same process drawing one line of
# text, the floor of any run that draws the form.
# Usage: bench/render-vs-libreoffice.sh [build-dir] [runs] [other-build-dir]   (defaults: build 7)
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
runs=${2:-7}
other=${3:+$(cd "$3" && pwd)}
render="$build/tools/render/tenvoria-render"
empty="$build/bench/bench_empty_gui_process"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$work/runtime}"
mkdir -p -m 0700 "$XDG_RUNTIME_DIR"

"$render" --sample --doc "$work/form.doc"
# The profile LibreOffice creates on its first start is not part of a conversion.
soffice --headless "-env:UserInstallation=file://$work/lo" --convert-to pdf --outdir "$work/warm" "$work/form.doc" >/dev/null 2>&1

# Microseconds one command takes, its output discarded.
timed() {
  local start=$EPOCHREALTIME
  "$@" >/dev/null 2>&1
  local end=$EPOCHREALTIME
  echo $(( ${end/./} - ${start/./} ))
}
libreoffice() {
  soffice --headless "-env:UserInstallation=file://$work/lo" --convert-to pdf --outdir "$work/lo-out" "$work/form.doc" &&
    pdftoppm -png -r 192 -singlefile "$work/lo-out/form.pdf" "$work/lo-out/form"
}
ours=() others=() theirs=() floors=() text_floors=()
for run in $(seq "$runs"); do
  ours+=("$(timed "$render" --sample --doc "$work/out.doc" --image "$work/out.png")")
  [ -s "$work/out.png" ] || { echo "tenvoria-render wrote no page image" >&2; exit 1; }
  rm -f "$work/out.doc" "$work/out.png"
  if [ -n "$other" ]; then
    others+=("$(timed "$other/tools/render/tenvoria-render" --sample --doc "$work/out.doc" --image "$work/out.png")")
    [ -s "$work/out.png" ] || { echo "$other's tenvoria-render wrote no page image" >&2; exit 1; }
    rm -f "$work/out.doc" "$work/out.png"
  fi
  floors+=("$(timed "$empty")")
  # The same with one line of text drawn, through the renderer's own font configuration.
  text_floors+=("$(FONTCONFIG_FILE="$build/tools/render/fonts.conf" timed "$empty" --text)")
  theirs+=("$(timed libreoffice)")
  [ -s "$work/lo-out/form.png" ] || { echo "LibreOffice did not convert the document" >&2; exit 1; }
  rm -f "$work/lo-out/form.pdf" "$work/lo-out/form.png"
done

peak_mb() { /usr/bin/time -f '%M' -o "$work/peak" "$@" >/dev/null 2>&1; echo $(( $(cat "$work/peak") / 1024 )); }
median() { printf '%s\n' "$@" | sort -n | sed -n "$(( ($# + 1) / 2 ))p"; }
ms() { echo "$1 / 1000" | bc -l; }
their_us=$(median "${theirs[@]}")
report() { # label, median µs, peak MB
  printf '%s, median of %d: %.1f ms, ratio %.1fx, peak RSS %d MB\n' "$1" "$runs" "$(ms "$2")" \
    "$(echo "$their_us / $2" | bc -l)" "$3"
}
report "tenvoria-render --sample --doc --image ($build)" "$(median "${ours[@]}")" \
  "$(peak_mb "$render" --sample --doc "$work/out.doc" --image "$work/out.png")"
if [ -n "$other" ]; then
  report "tenvoria-render --sample --doc --image ($other)" "$(median "${others[@]}")" \
    "$(peak_mb "$other/tools/render/tenvoria-render" --sample --doc "$work/out.doc" --image "$work/out.png")"
fi
printf 'LibreOffice .doc -> pdf -> 192 dpi png, median of %d: %.1f ms, peak RSS %d MB (soffice)\n' \
  "$runs" "$(ms "$their_us")" \
  "$(peak_mb soffice --headless "-env:UserInstallation=file://$work/lo" --convert-to pdf --outdir "$work/lo-out" "$work/form.doc")"
report "floor: an empty QGuiApplication process" "$(median "${floors[@]}")" "$(peak_mb "$empty")"
report "floor with text: the same process drawing one line of Tahoma" "$(median "${text_floors[@]}")" \
  "$(FONTCONFIG_FILE="$build/tools/render/fonts.conf" peak_mb "$empty" --text)"
