#!/bin/sh
# Codec figures: MB/s (Google Benchmark), instructions per output byte
# (callgrind, counting TLZH::Unpack (header, decode)), and lhasa extracting the same
# plain bytes packed by jlha, for context.
#   bench/skin/run_lzh_bench.sh BUILD_DIR SKIN_FILE
set -eu
build=$1
skin=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
tool=$build/bench/skin/skin_lzh_tool

ORBELIN_SKIN_FILE=$skin "$build/bench/skin/skin_lzh_bench" --benchmark_min_time=1

"$tool" mixed "$work/mixed.bin"
"$tool" pack "$work/mixed.bin" "$work/mixed.packed"
"$tool" decode "$skin" "$work/skin.plain"

count() { # instructions of one function family while running the rest of the arguments
    pattern=$1; shift
    valgrind --tool=callgrind --callgrind-out-file="$work/cg.out" --toggle-collect="$pattern" "$@" >/dev/null 2>&1
    callgrind_annotate "$work/cg.out" 2>/dev/null | awk '/PROGRAM TOTALS/ { gsub(",", "", $1); print $1 }'
}
report() { # name instructions bytes
    echo "$1: $2 instructions for $3 bytes = $(echo "scale=1; $2 / $3" | bc) per output byte"
}
skin_bytes=$(stat -c %s "$work/skin.plain")
mixed_bytes=$(stat -c %s "$work/mixed.bin")
report "TLZH skin" "$(count 'orbelin::TLZH::Unpack*' "$tool" decode "$skin" "$work/out1")" "$skin_bytes"
report "TLZH mixed 16 MiB" "$(count 'orbelin::TLZH::Unpack*' "$tool" decode "$work/mixed.packed" "$work/out2")" "$mixed_bytes"
echo "packed sizes: skin $(stat -c %s "$skin"), mixed $(stat -c %s "$work/mixed.packed")"

# lhasa (whole process, lh5 as jlha writes by default) on the same plain bytes.
for name in skin.plain mixed.bin; do
    (cd "$work" && jlha a "$work/$name.lzh" "$name" >/dev/null 2>&1)
    mkdir -p "$work/x-$name"
    ir=$(cd "$work/x-$name" && valgrind --tool=callgrind --callgrind-out-file="$work/lh.out" lhasa xf "$work/$name.lzh" >/dev/null 2>&1;
         callgrind_annotate "$work/lh.out" 2>/dev/null | awk '/PROGRAM TOTALS/ { gsub(",", "", $1); print $1 }')
    report "lhasa $name (whole process)" "$ir" "$(stat -c %s "$work/$name")"
    start=$(date +%s.%N)
    (cd "$work/x-$name" && lhasa xf "$work/$name.lzh" >/dev/null 2>&1)
    end=$(date +%s.%N)
    echo "lhasa $name: $(echo "scale=1; $(stat -c %s "$work/$name") / 1048576 / ($end - $start)" | bc) MB/s (wall, incl. start-up), archive $(stat -c %s "$work/$name.lzh") bytes"
done
