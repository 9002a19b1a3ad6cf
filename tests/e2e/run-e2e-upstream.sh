#!/usr/bin/env bash
# Starts the scripted upstream translation server and the local translation
# service pointed at it, each on a free loopback port, runs the client's
# upstream end-to-end tests under Wine against the service, and stops both.
#   run-e2e-upstream.sh E2E_TESTS_EXE ORBELIN_SERVICE UPSTREAM_STUB [TEST OPTIONS...]
set -euo pipefail
tests_exe=$1
service=$2
stub=$3
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
free_port() { python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])'; }
wait_for_port() {
  for _ in $(seq 1 100); do
    if (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null; then return 0; fi
    sleep 0.1
  done
  return 1
}
stub_port=$(free_port)
log=$(mktemp)
"$stub" "$stub_port" >"$log" 2>&1 &
stub_pid=$!
service_pid=
trap 'kill $stub_pid ${service_pid:-} 2>/dev/null || true; wait 2>/dev/null || true; rm -f "$log"' EXIT
wait_for_port "$stub_port"
port=$(free_port)
"$service" --listen "127.0.0.1:$port" --upstream "http://127.0.0.1:$stub_port" --upstream-key e2e >>"$log" 2>&1 &
service_pid=$!
wait_for_port "$port"
ORBELIN_SERVICE_HOST="127.0.0.1:$port" "$here/scripts/wine-run" "$tests_exe" "${@:4}" || { echo "--- service log"; cat "$log"; exit 1; }
