# Shared by the packaging tests: the optimised trees, free loopback ports,
# and waiting for a listener. Sourced; sets $root.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
jobs=${ORBELIN_JOBS:-2}

# Builds (or finds up to date) an optimised tree of CMakePresets.json.
build_preset() {
  local log
  log=$(mktemp)
  (cd "$root" && cmake --preset "$1" && cmake --build --preset "$1" -j "$jobs" "${@:2}") >"$log" 2>&1 ||
    { cat "$log"; rm -f "$log"; return 1; }
  rm -f "$log"
}

free_port() {
  python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])'
}

# wait_port PORT [PID]: up to 10 s for a listener; fails early when PID ends.
wait_port() {
  for _ in $(seq 1 100); do
    if (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null; then return 0; fi
    if [ -n "${2:-}" ] && ! kill -0 "$2" 2>/dev/null; then break; fi
    sleep 0.1
  done
  echo "nothing listens on 127.0.0.1:$1" >&2
  return 1
}

# The form body of one English to Spanish translation, as the client sends it.
form_body() {
  printf 'wl_url=&wl_text=%s&wl_glossary=gl1&wl_srclang=EN&wl_trglang=ES&wl_ucp=1' \
    "$(printf '%s' "$1" | od -An -tx1 -v | tr -d ' \n' | sed 's/../%\U&/g')"
}

seconds_since() { echo "$(( $(date +%s%N) / 1000000 - $1 ))" | awk '{printf "%.1f", $1 / 1000}'; }
now_ms() { echo $(( $(date +%s%N) / 1000000 )); }
