#!/usr/bin/env bash
# Whole processes side by side: `tenvoria-render` making the sample record's .doc and its 192 dpi
# page image, against LibreOffice headless converting that .doc to a 192 dpi page image (via PDF,
# as Writer exports pages). The runs alternate, so that both see the same machine load; the
# script prints the medians, the ratio, and the peak memory of each; and, as the floor, the time of
# an empty process that only starts Qt's GUI layer, and the ratio that floor would give; and the
# same process drawing one line of text, the floor of any run that draws the form.
# Usage: bench/render-vs-libreoffice.sh [build-dir] [runs]   (defaults: build 7)
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
runs=${2:-7}
render="$build/tools/render/tenvoria-render"
empty="$build/bench/bench_empty_gui_process"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$work/runtime}"
mkdir -p -m 0700 "$XDG_RUNTIME_DIR"

"$render" --sample --doc "$work/form.doc"
# The profile LibreOffice creates on its first start is not part of a conversion.
soffice --headless "-env:UserInstallation=file://$work/lo" --convert-to pdf --outdir "$work/warm" "$work/form.doc" >/dev/null 2>&1

now() { date +%s%N; }
peak_kb() { awk '/Maximum resident/ {print $NF}' "$1"; }
ours=() theirs=() floors=() text_floors=() our_peaks=() their_peaks=()
for run in $(seq "$runs"); do
  start=$(now)
  /usr/bin/time -v "$render" --sample --doc "$work/out.doc" --image "$work/out.png" 2>"$work/ours.time" >/dev/null
  end=$(now)
  [ -s "$work/out.png" ] || { echo "tenvoria-render wrote no page image" >&2; cat "$work/ours.time" >&2; exit 1; }
  ours+=($(( (end - start) / 1000 )))
  our_peaks+=("$(peak_kb "$work/ours.time")")
  rm -f "$work/out.doc" "$work/out.png"

  start=$(now)
  /usr/bin/time -o /dev/null "$empty"
  end=$(now)
  floors+=($(( (end - start) / 1000 )))

  # The same with one line of text drawn, through the renderer's own font configuration.
  start=$(now)
  FONTCONFIG_FILE="$build/tools/render/fonts.conf" /usr/bin/time -o /dev/null "$empty" --text
  end=$(now)
  text_floors+=($(( (end - start) / 1000 )))

  start=$(now)
  /usr/bin/time -v soffice --headless "-env:UserInstallation=file://$work/lo" --convert-to pdf --outdir "$work/lo-out" \
    "$work/form.doc" >/dev/null 2>"$work/theirs.time"
  pdftoppm -png -r 192 -singlefile "$work/lo-out/form.pdf" "$work/lo-out/form"
  end=$(now)
  [ -s "$work/lo-out/form.png" ] || { echo "LibreOffice did not convert the document" >&2; exit 1; }
  theirs+=($(( (end - start) / 1000 )))
  their_peaks+=("$(peak_kb "$work/theirs.time")")
  rm -f "$work/lo-out/form.pdf" "$work/lo-out/form.png"
done

median() { printf '%s\n' "$@" | sort -n | sed -n "$(( ($# + 1) / 2 ))p"; }
our_us=$(median "${ours[@]}")
their_us=$(median "${theirs[@]}")
printf 'tenvoria-render --sample --doc --image, median of %d: %.1f ms, peak RSS %d MB\n' \
  "$runs" "$(echo "$our_us / 1000" | bc -l)" "$(( $(median "${our_peaks[@]}") / 1024 ))"
printf 'LibreOffice .doc -> pdf -> 192 dpi png, median of %d: %.1f ms, peak RSS %d MB (soffice)\n' \
  "$runs" "$(echo "$their_us / 1000" | bc -l)" "$(( $(median "${their_peaks[@]}") / 1024 ))"
printf 'ratio: %.1fx\n' "$(echo "$their_us / $our_us" | bc -l)"
floor_us=$(median "${floors[@]}")
printf 'floor: an empty QGuiApplication process, median of %d: %.1f ms, ratio at best %.1fx\n' \
  "$runs" "$(echo "$floor_us / 1000" | bc -l)" "$(echo "$their_us / $floor_us" | bc -l)"
text_floor_us=$(median "${text_floors[@]}")
printf 'floor with text: the same process drawing one line of Tahoma, median of %d: %.1f ms, ratio at best %.1fx\n' \
  "$runs" "$(echo "$text_floor_us / 1000" | bc -l)" "$(echo "$their_us / $text_floor_us" | bc -l)"
