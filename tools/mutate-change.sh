#!/usr/bin/env bash
# Mutation pass over the lines changed under src/ since BASE; see tools/mutate_change.py --help.
#   tools/mutate-change.sh [BASE] [--paths src/x ...] [--max 40] [--seed N] [--build DIR]
#                          [--ctest-args "-R regex"] [--only FILE:LINE] [--list]
set -euo pipefail
exec python3 "$(dirname "$(readlink -f "$0")")/mutate_change.py" "$@"
