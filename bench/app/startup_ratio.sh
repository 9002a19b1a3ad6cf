#!/usr/bin/env bash
# Start-up to the first complete paint of the main window, skinned against
# the same program without the skin engine, in alternating runs under Wine
# on the current display; prints both medians and their ratio.
#   bench/app/startup_ratio.sh [RUNS]
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
runs=${1:-11}
bench="$here/build/win/bench/app/skin_paint_bench.exe"
skinned=() plain=()
# One persistent server for every run: otherwise a run may meet the previous
# run's server on its way out and pay for starting a new one.
export WINEPREFIX=${WINEPREFIX:-$here/build/wineprefix}
wineserver -p
trap 'wineserver -k 2>/dev/null || true' EXIT
for _ in $(seq 1 "$runs"); do
  skinned+=("$("$here/scripts/wine-run" "$bench" startup | tr -d '\r')")
  plain+=("$("$here/scripts/wine-run" "$bench" startup plain | tr -d '\r')")
done
median() { printf '%s\n' "$@" | sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
s=$(median "${skinned[@]}")
p=$(median "${plain[@]}")
echo "skinned: ${skinned[*]}" >&2
echo "plain:   ${plain[*]}" >&2
echo "start-up to the first complete paint: skinned $s ms, without the skin $p ms (median of $runs)"
awk -v s="$s" -v p="$p" 'BEGIN { printf "ratio %.2f\n", s / p }'
