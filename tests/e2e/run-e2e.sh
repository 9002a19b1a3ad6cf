#!/usr/bin/env bash
# Starts the local translation service on a free loopback port, runs the
# client's end-to-end tests under Wine against it, and stops the service.
#   run-e2e.sh E2E_TESTS_EXE ORBELIN_SERVICE
set -euo pipefail
tests_exe=$1
service=$2
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])')
log=$(mktemp)
"$service" --listen "127.0.0.1:$port" >"$log" 2>&1 &
pid=$!
trap 'kill $pid 2>/dev/null || true; wait $pid 2>/dev/null || true; rm -f "$log"' EXIT
for _ in $(seq 1 100); do
  if (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null; then break; fi
  sleep 0.1
done
ORBELIN_SERVICE_HOST="127.0.0.1:$port" "$here/scripts/wine-run" "$tests_exe" || { echo "--- service log"; cat "$log"; exit 1; }
