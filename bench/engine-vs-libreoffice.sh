#!/usr/bin/env bash
# Times, in one run, the built-in engine (build + save + open + render of the sample form) and
# LibreOffice headless converting the same .doc to a page image (via PDF, as Writer exports pages).
# Usage: bench/engine-vs-libreoffice.sh [build-dir]   (default: build)
set -euo pipefail
build=${1:-build}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The sample form, timed in-process, then written once for LibreOffice.
"$build/bench/bench_engine" --benchmark_filter=BM_AllFour --benchmark_format=json > "$work/engine.json"
engine_ms=$(python3 -c "import json,sys; d=json.load(open('$work/engine.json')); print([b['real_time'] for b in d['benchmarks'] if b['name'].endswith('_median')][0])")
"$build/tools/render/tenvoria-render" --sample --doc "$work/form.doc" 2>/dev/null

runs=5
times=()
for i in $(seq $runs); do
  start=$(date +%s%N)
  # Writer has no direct image export of a page: it lays the page out into a PDF, which is drawn.
  soffice --headless "-env:UserInstallation=file://$work/lo" --convert-to pdf --outdir "$work/out" "$work/form.doc" >/dev/null 2>&1
  pdftoppm -png -r 192 -singlefile "$work/out/form.pdf" "$work/out/form"
  end=$(date +%s%N)
  [ -s "$work/out/form.png" ] || { echo "LibreOffice did not convert the document" >&2; exit 1; }
  rm -f "$work/out/form.pdf" "$work/out/form.png"
  times+=($(( (end - start) / 1000000 )))
done
lo_ms=$(printf '%s\n' "${times[@]}" | sort -n | sed -n "$(( (runs + 1) / 2 ))p")
printf "built-in engine, build+save+open+render, median: %.2f ms\n" "$engine_ms"
echo "LibreOffice headless .doc -> pdf -> png at 192 dpi, median of $runs: ${lo_ms} ms"
python3 -c "print(f'speed-up: {${lo_ms}/${engine_ms}:.0f}x')"
