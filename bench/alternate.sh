#!/usr/bin/env bash
# One Google Benchmark program of two builds, taking turns round by round so that both see the
# same machine load; prints, for each benchmark, the median over the rounds of each build's median
# real time.
# Usage: bench/alternate.sh BENCH-PROGRAM BUILD-A BUILD-B [rounds]   (e.g. bench_preview_outputs build ../old/build 5)
set -euo pipefail
program=$1
builds=("$(cd "$2" && pwd)" "$(cd "$3" && pwd)")
rounds=${4:-5}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for round in $(seq "$rounds"); do
  for i in 0 1; do
    "${builds[$i]}/bench/$program" --benchmark_format=csv 2>/dev/null |
      awk -F, -v build="$i" '$1 ~ /_median"?$/ { gsub(/"/, "", $1); sub(/\/repeats:[0-9]+_median$/, "", $1); print build, $1, $3, $5 }' \
      >>"$work/results"
  done
done
for name in $(awk '{print $2}' "$work/results" | sort -u); do
  for i in 0 1; do
    values=$(awk -v b="$i" -v n="$name" '$1 == b && $2 == n {print $3}' "$work/results" | sort -g)
    count=$(echo "$values" | wc -l)
    unit=$(awk -v b="$i" -v n="$name" '$1 == b && $2 == n {print $4; exit}' "$work/results")
    printf '%-28s %-50s median of %d rounds: %s %s\n' "$name" "${builds[$i]}" "$count" \
      "$(echo "$values" | sed -n "$(( (count + 1) / 2 ))p")" "$unit"
  done
done
