#!/bin/bash
# Compares nethttp with curl against the loopback benchmark server, in one run.
# Usage: bench/http/compare.sh BUILD_DIR   (a native build with -DORBELIN_BENCH=ON)
set -euo pipefail
build=${1:?usage: compare.sh BUILD_DIR}
nethttp=$build/tools/nethttp/nethttp
server=$build/bench/http/http_bench_server
command -v curl > /dev/null || { echo "curl is needed (apt-get install curl)"; exit 1; }
size=$((256 * 1024 * 1024))
small=2000
runs=5

portfile=$(mktemp)
"$server" > "$portfile" &
server_pid=$!
trap 'kill $server_pid 2> /dev/null; rm -f "$portfile" "$urls"' EXIT
urls=$(mktemp)
for _ in 1 2 3 4 5 6 7 8 9 10; do [ -s "$portfile" ] && break; sleep 0.1; done
base="http://127.0.0.1:$(head -1 "$portfile")"

# Best wall time of $runs runs, in seconds.
best() {
    local best_time=
    for _ in $(seq $runs); do
        local start end t
        start=$(date +%s.%N)
        "$@" > /dev/null
        end=$(date +%s.%N)
        t=$(echo "$end - $start" | bc -l)
        if [ -z "$best_time" ] || [ "$(echo "$t < $best_time" | bc -l)" = 1 ]; then best_time=$t; fi
    done
    echo "$best_time"
}

printf '%-22s %12s %12s %8s\n' case nethttp curl ratio
for kind in len chunked close; do
    url="$base/$kind/$size"
    n=$(best "$nethttp" get "$url" -o /dev/null)
    c=$(best curl -s -o /dev/null "$url")
    printf '%-22s %9.0f MB/s %7.0f MB/s %8.3f\n' "256 MiB $kind" "$(echo "$size / $n / 1048576" | bc -l)" \
        "$(echo "$size / $c / 1048576" | bc -l)" "$(echo "$c / $n" | bc -l)"
done

for i in $(seq $small); do echo "$base/small/$i"; done > "$urls"
mapfile -t list < "$urls"
curl_args=()
for u in "${list[@]}"; do curl_args+=(-o /dev/null "$u"); done
n=$(best "$nethttp" get "${list[@]}" -o /dev/null)
c=$(best curl -s "${curl_args[@]}")
printf '%-22s %10.0f r/s %9.0f r/s %8.3f\n' "$small small GETs" "$(echo "$small / $n" | bc -l)" \
    "$(echo "$small / $c" | bc -l)" "$(echo "$c / $n" | bc -l)"
