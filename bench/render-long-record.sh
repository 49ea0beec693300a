#!/usr/bin/env bash
# The page picture of a long record: `tenvoria-render --doc --image` on a record with 2,000
# characters in every text field (a 21-page form, a picture over 30,000 pixels tall), and the
# sample record beside it. Prints, for each build, the median wall time and peak RSS of each, and
# the picture's cost per pixel (the whole run less the --doc run alone, over the picture's pixels).
# With a second build folder (or a tenvoria-render binary), the two take turns, run for run, so
# that both see the same machine load.
# Usage: bench/render-long-record.sh [build-dir|tenvoria-render] [runs] [other-build-dir|tenvoria-render]
#        (defaults: build 7)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
binary_of() { # a build folder or the tool itself
  if [ -d "$1" ]; then echo "$(cd "$1" && pwd)/tools/render/tenvoria-render"; else echo "$(cd "$(dirname "$1")" && pwd)/$(basename "$1")"; fi
}
renders=("$(binary_of "${1:-build}")")
runs=${2:-7}
[ -n "${3:-}" ] && renders+=("$(binary_of "$3")")
for r in "${renders[@]}"; do [ -x "$r" ] || { echo "no tenvoria-render at $r" >&2; exit 1; }; done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$work/runtime}"
mkdir -p "$XDG_RUNTIME_DIR" && chmod 0700 "$XDG_RUNTIME_DIR"

# Every text field of the record, 2,000 characters of words each, in the store's own format.
fields="$here/../src/record/RecordFields.inc"
text=
while [ ${#text} -lt 2000 ]; do text+='the quick brown fox jumps over a lazy dog near Holderness Elm Street '; done
text=${text:0:2000}
{
  echo '[Tenvoria]'
  sed -nE 's/^TENVORIA_(TEXT|COPIED|UNTOUCHED)_FIELD\([^,]+, "[^"]*", "([^"]+)".*/\2/p' "$fields" |
    while IFS= read -r key; do printf '%s="%s"\n' "${key// /%20}" "$text"; done
} >"$work/long.conf"
[ "$(grep -c '="' "$work/long.conf")" -eq 70 ] || { echo "the record does not hold 70 text fields" >&2; exit 1; }

now_us() { local t=${EPOCHREALTIME/./}; echo "$t"; }
peak_kb() { awk '/Maximum resident/ {print $NF}' "$1"; }
# Runs one build once on one record; prints "microseconds peak-kB".
run_once() { # $1: tenvoria-render, $2: record option(s), $3: with the picture (1) or not (0)
  local start end image=()
  [ "$3" = 1 ] && image=(--image "$work/out.png")
  rm -f "$work/out.doc" "$work/out.png"
  start=$(now_us)
  # shellcheck disable=SC2086
  /usr/bin/time -v "$1" $2 --doc "$work/out.doc" "${image[@]}" 2>"$work/time" >/dev/null ||
    { echo "$1 $2 failed:" >&2; cat "$work/time" >&2; exit 1; }
  end=$(now_us)
  if [ "$3" = 1 ]; then [ -s "$work/out.png" ] || { echo "$1 wrote no page image" >&2; exit 1; }; fi
  echo "$((end - start)) $(peak_kb "$work/time")"
}
# The picture's size from its PNG header.
pixels_of() { od -An -tu1 -j16 -N8 "$1" | awk '{print ($1*16777216+$2*65536+$3*256+$4) * ($5*16777216+$6*65536+$7*256+$8)}'; }

median() { printf '%s\n' "$@" | sort -n | sed -n "$(( ($# + 1) / 2 ))p"; }
declare -A wall peak
records=(long sample)
option_of() { if [ "$1" = long ]; then echo "--settings $work/long.conf"; else echo "--sample"; fi; }
declare -A pixels
for rec in "${records[@]}"; do
  run_once "${renders[0]}" "$(option_of "$rec")" 1 >/dev/null # warm-up, and the picture's size
  pixels[$rec]=$(pixels_of "$work/out.png")
done
for _ in $(seq "$runs"); do
  for b in "${!renders[@]}"; do
    for rec in "${records[@]}"; do
      for image in 1 0; do
        read -r us kb < <(run_once "${renders[$b]}" "$(option_of "$rec")" "$image")
        wall[$b,$rec,$image]+="$us "
        peak[$b,$rec,$image]+="$kb "
      done
    done
  done
done
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
for b in "${!renders[@]}"; do
  echo "${renders[$b]}:"
  for rec in "${records[@]}"; do
    # shellcheck disable=SC2086
    whole=$(median ${wall[$b,$rec,1]}) doc=$(median ${wall[$b,$rec,0]}) kb=$(median ${peak[$b,$rec,1]})
    printf '  %-6s --doc --image, median of %d: %.1f ms, peak RSS %.1f MB; --doc alone %.1f ms; picture %d px, %.1f ns a pixel\n' \
      "$rec" "$runs" "$(echo "$whole / 1000" | bc -l)" "$(echo "$kb / 1024" | bc -l)" "$(echo "$doc / 1000" | bc -l)" \
      "${pixels[$rec]}" "$(echo "($whole - $doc) * 1000 / ${pixels[$rec]}" | bc -l)"
  done
done
