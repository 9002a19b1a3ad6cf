#!/usr/bin/env bash
# A team's set-up on loopback: three translation services (the optimised
# build) behind nginx with deploy/nginx/orbelin.conf, its addresses replaced.
# Concurrent clients translate through nginx with 1, 2 and 3 services, then
# with 3 while one is killed mid-run: no request may fail. Prints the figures.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
requests=${ORBELIN_LOAD_REQUESTS:-300}
clients=${ORBELIN_LOAD_CLIENTS:-8}
sentences=${ORBELIN_LOAD_SENTENCES:-40}
build_preset program-native
service=$root/build/program-native/service/orbelin-service
work=$(mktemp -d)
chmod 755 "$work"
pids=()
nginx_pid=""
cleanup() {
  [ -n "$nginx_pid" ] && kill -QUIT "$nginx_pid" 2>/dev/null
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait
  rm -rf "$work"
}
trap cleanup EXIT

ports=()
for i in 1 2 3; do
  ports+=("$(free_port)")
  # Started from a subshell, so that this shell does not report the one killed.
  pids+=("$("$service" --listen "127.0.0.1:${ports[-1]}" >"$work/service$i.log" 2>&1 & echo $!)")
done
for i in 0 1 2; do
  wait_port "${ports[$i]}" "${pids[$i]}"
  # The first translation starts the engine; the figures are for warm ones.
  curl -s --max-time 30 -o /dev/null --data-binary "$(form_body 'Warm up.')" "http://127.0.0.1:${ports[$i]}/wl/translate"
done
front=$(free_port)

# nginx as the deploy configuration has it, with its first N services on
# this machine's ports and the others left out, in this folder.
start_nginx() {
  awk -v n="$1" -v ports="${ports[*]}" -v front="$front" '
    BEGIN { split(ports, port, " ") }
    /^ *server [0-9.]+:[0-9]+ / { if (++k > n) next; sub(/[0-9.]+:[0-9]+/, "127.0.0.1:" port[k]) }
    /^ *listen 80;/ { sub(/80/, "127.0.0.1:" front) }
    { print }' "$root/deploy/nginx/orbelin.conf" >"$work/orbelin.conf"
  cat >"$work/nginx.conf" <<CONF
daemon off;
worker_processes 2;
pid $work/nginx.pid;
error_log $work/error.log;
events { worker_connections 512; }
http {
  access_log off;
  client_body_temp_path $work/body; proxy_temp_path $work/proxy; fastcgi_temp_path $work/fastcgi;
  uwsgi_temp_path $work/uwsgi; scgi_temp_path $work/scgi;
  include $work/orbelin.conf;
}
CONF
  nginx -t -q -p "$work" -c "$work/nginx.conf"
  nginx -p "$work" -c "$work/nginx.conf" &
  nginx_pid=$!
  wait_port "$front" "$nginx_pid"
}
stop_nginx() { kill -QUIT "$nginx_pid"; wait "$nginx_pid" || true; nginx_pid=""; }

status=0
run_load() {
  local out
  out=$(python3 "$root/tests/packaging/load.py" "$front" "$requests" "$clients" "$sentences" "$@") || status=1
  echo "$out"
}
for n in 1 2 3; do
  start_nginx "$n"
  printf '%s service(s): ' "$n"
  run_load
  stop_nginx
done
start_nginx 3
victim=${pids[1]}
printf '3 services, one killed after a third: '
run_load "$victim" $((requests / 3))
state=$(ps -o stat= -p "$victim" || true)
[[ -z $state || $state == Z* ]] || { echo "FAIL: the service was not killed"; status=1; }
stop_nginx
# The kill must have cost nginx a request that it then gave to another service.
retried=$(grep -c "upstream" "$work/error.log" || true)
echo "nginx met the killed service $retried time(s):"
grep -h "upstream" "$work/error.log" | sed -n '1,2s/^/  /p'
[ "$retried" -gt 0 ] || { echo "FAIL: the killed service cost no request"; status=1; }
exit $status
