#!/usr/bin/env bash
# The service's Debian package as an administrator meets it: made by CPack
# from the optimised tree, installed with dpkg on this machine, its binary
# serving a translation, its unit accepted by systemd-analyze, and purged
# without a trace. Needs root (or sudo); exits 77 (skipped) without.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
sudo_cmd=""
if [ "$(id -u)" -ne 0 ]; then
  sudo -n true 2>/dev/null || { echo "skipped: dpkg needs root"; exit 77; }
  sudo_cmd="sudo -n"
fi
if dpkg-query -W -f='${Status}' orbelin-service 2>/dev/null | grep -q installed; then
  echo "skipped: orbelin-service is installed here already, and this test would remove it"
  exit 77
fi

start=$(now_ms)
build_preset program-native --target package
version=$(sed -n 's/^project(orbelin VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
deb=$root/build/program-native/orbelin-service_${version}_amd64.deb
echo "package: $(basename "$deb"), $(stat -c %s "$deb") bytes, made in $(seconds_since "$start") s"
fields=$(dpkg-deb -f "$deb" Package Version Architecture Depends)
echo "$fields"
for dependency in apertium-eng-spa apertium-fr-es apertium-es-pt apertium-spa-ita libopencc1.1 libopencc-data; do
  grep -q "Depends:.*\b$dependency\b" <<<"$fields" || { echo "FAIL: no dependency on $dependency"; exit 1; }
done

port=$(free_port)
server=""
work=$(mktemp -d)
cleanup() {
  [ -n "$server" ] && kill "$server" 2>/dev/null && wait "$server" 2>/dev/null
  $sudo_cmd dpkg --purge orbelin-service >/dev/null 2>&1 || true
  rm -rf "$work"
}
trap cleanup EXIT

start=$(now_ms)
$sudo_cmd dpkg -i "$deb" >"$work/dpkg.log" 2>&1 || { cat "$work/dpkg.log"; exit 1; }
echo "installed in $(seconds_since "$start") s"
installed=$(dpkg-query -L orbelin-service)
unit=$(grep '/orbelin-service\.service$' <<<"$installed")
for file in /usr/bin/orbelin-service "$unit" /etc/default/orbelin-service; do
  [ -f "$file" ] || { echo "FAIL: $file not installed"; exit 1; }
done
grep -qx /etc/default/orbelin-service <(dpkg-query -W -f='${Conffiles}\n' orbelin-service | awk '{print $1}') ||
  { echo "FAIL: /etc/default/orbelin-service is no conffile"; exit 1; }

# The unit as systemd reads it; the machine need not run systemd for this.
systemd-analyze verify "$unit" >"$work/verify.log" 2>&1 || { echo "FAIL: systemd-analyze verify"; cat "$work/verify.log"; exit 1; }
[ -s "$work/verify.log" ] && { echo "FAIL: systemd-analyze verify warned"; cat "$work/verify.log"; exit 1; }
echo "systemd-analyze verify: no complaint"

# The unit's command line with the options file's value (on a free port, the
# last --listen winning) serves a translation.
options=$(. /etc/default/orbelin-service && echo "$ORBELIN_SERVICE_OPTIONS")
/usr/bin/orbelin-service $options --listen "127.0.0.1:$port" >"$work/service.log" 2>&1 &
server=$!
wait_port "$port" "$server" || { cat "$work/service.log"; exit 1; }
answer=$(curl -s --max-time 30 --data-binary "$(form_body 'Hello, how are you?')" \
  "http://127.0.0.1:$port/wl/translate")
grep -q "Hola" <<<"$answer" || { echo "FAIL: no translation in: $answer"; cat "$work/service.log"; exit 1; }
echo "the installed service translated: $(grep -o 'Hola[^<]*' <<<"$answer")"
kill "$server"; wait "$server" 2>/dev/null || true; server=""

start=$(now_ms)
$sudo_cmd dpkg --purge orbelin-service >"$work/dpkg.log" 2>&1 || { cat "$work/dpkg.log"; exit 1; }
echo "purged in $(seconds_since "$start") s"
left=$(
  while read -r path; do [ -e "$path" ] && [ ! -d "$path" ] && echo "$path"; done <<<"$installed"
  find /etc/systemd /var/lib/systemd -name '*orbelin*' 2>/dev/null
  true
)
[ -z "$left" ] || { echo "FAIL: left after purge:"; echo "$left"; exit 1; }
echo "removed cleanly"
