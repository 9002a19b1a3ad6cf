#!/usr/bin/env bash
# The Windows release as a user meets it: CPack makes the portable ZIP and
# the NSIS installer from the optimised tree; in a new Wine prefix the
# installer runs silently with the service's address, the installed program
# starts skinned and translates through a service on a port of its own, and
# the silent uninstall leaves no file and no registry key of ours.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" "$0" "$@"
fi
version=$(sed -n 's/^project(orbelin VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
tree=$root/build/program-win
name=Orbelin-$version-win64

start=$(now_ms)
build_preset program-native
build_preset program-windows --target package
echo "packages made in $(seconds_since "$start") s: $name.zip $(stat -c %s "$tree/$name.zip") bytes," \
  "$name.exe $(stat -c %s "$tree/$name.exe") bytes; orbelin.exe $(stat -c %s "$tree/orbelin.exe") bytes"
listing=$(unzip -Z1 "$tree/$name.zip")
for file in orbelin.exe help.txt orbelin.skin orbelin.ini; do
  grep -qx "$name/$file" <<<"$listing" || { echo "FAIL: $file not in the ZIP:"; echo "$listing"; exit 1; }
done
x86_64-w64-mingw32-nm "$tree/orbelin.exe" 2>&1 | grep -q 'no symbols' || { echo "FAIL: orbelin.exe is not stripped"; exit 1; }
for key in FileVersion ProductVersion; do
  [ "$(strings -el "$tree/orbelin.exe" | grep -A1 -x "$key" | tail -n 1)" = "$version" ] ||
    { echo "FAIL: orbelin.exe has no $key $version"; exit 1; }
done

export WINEPREFIX=$root/build/wineprefix-install WINEDEBUG=-all LC_ALL=zh_CN.UTF-8
# No Mono or Gecko installer, and no menu entries on this Linux desktop.
export WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe="
work=$(mktemp -d)
service_pid=""
program_pid=""
cleanup() {
  [ -n "$program_pid" ] && kill "$program_pid" 2>/dev/null
  wineserver -k 2>/dev/null || true
  [ -n "$service_pid" ] && kill "$service_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
start=$(now_ms)
rm -rf "$WINEPREFIX"
wineboot -i >/dev/null 2>&1
wineserver -w
echo "new Wine prefix in $(seconds_since "$start") s"
# What the prefix holds before: its files, and its registry keys.
snapshot() {
  (cd "$WINEPREFIX/drive_c" && find . | sort) >"$work/files.$1"
  sed -n 's/^\[\(.*\)\] [0-9]*$/\1/p' "$WINEPREFIX"/*.reg | sort >"$work/keys.$1"
}
snapshot before

port=$(free_port)
"$root/build/program-native/service/orbelin-service" --listen "127.0.0.1:$port" >"$work/service.log" 2>&1 &
service_pid=$!
wait_port "$port" "$service_pid"

start=$(now_ms)
wine "$tree/$name.exe" /S "/SERVICE=127.0.0.1:$port"
wineserver -w
echo "silent install in $(seconds_since "$start") s"
dir=$WINEPREFIX/drive_c/Program\ Files/Orbelin
menu=$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start\ Menu/Programs/Orbelin
for file in "$dir"/{orbelin.exe,help.txt,orbelin.skin,Uninstall.exe} "$menu"/*.lnk; do
  [ -f "$file" ] || { echo "FAIL: not installed: $file"; exit 1; }
done
tr -d '\r' <"$dir/orbelin.ini" | grep -qx "Host=127.0.0.1:$port" || { echo "FAIL: orbelin.ini:"; cat "$dir/orbelin.ini"; exit 1; }
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Orbelin'
wine reg query "$key" /v UninstallString 2>/dev/null | grep -q 'Uninstall.exe' ||
  { echo "FAIL: no entry in the list of installed programs"; exit 1; }

start=$(now_ms)
wine 'C:\Program Files\Orbelin\orbelin.exe' >/dev/null 2>&1 &
program_pid=$!
translation=$(wine "$tree/orbelin-demo.exe" "Hello, how are you?") || { cat "$work/service.log"; exit 1; }
echo "the installed program translated \"Hello, how are you?\" into \"$translation\" ($(seconds_since "$start") s from start)"
[[ $translation == *Hola* ]] || { echo "FAIL: not a translation through the service"; exit 1; }
window=$(xdotool search --name '^Orbelin' | head -n 1)
shot=$root/build/artifacts/installed-program.png
mkdir -p "$root/build/artifacts"
import -window "$window" "$shot"
# Skinned: half way down, the window's left border shows the skin's own left
# border picture (its frames side by side: active, inactive), pixel for pixel.
picture=$root/build/program-native/skin/src/left.bmp
read -r picture_w picture_h < <(identify -format '%w %h\n' "$picture")
border=$((picture_w / 2))
row() { convert "$1" -crop "${border}x1+$2+$3" +repage -depth 8 txt:- | awk 'NR > 1 { printf "%s ", $3 }'; }
seen=$(row "$shot" 0 $(($(identify -format %h "$shot") / 2)))
[[ $seen == "$(row "$picture" 0 $((picture_h - border - 5)))" ||
   $seen == "$(row "$picture" "$border" $((picture_h - border - 5)))" ]] ||
  { echo "FAIL: not skinned: the left border shows $seen"; exit 1; }
echo "skinned: the left border is the skin's"
kill "$program_pid"; wait "$program_pid" 2>/dev/null || true; program_pid=""
wineserver -w

start=$(now_ms)
wine 'C:\Program Files\Orbelin\Uninstall.exe' /S
wineserver -w
echo "silent uninstall in $(seconds_since "$start") s"
# The uninstaller runs from a copy in the temporary folder that Windows
# deletes at the next restart; so does Wine's. Its emptied folder stays.
wineboot -r >/dev/null 2>&1
wineserver -w
snapshot after
left=$(comm -13 "$work/files.before" "$work/files.after" | grep -v '^\./users/[^/]*/Temp/~nsu[0-9]*\.tmp$' || true)
left+=$(comm -13 "$work/keys.before" "$work/keys.after"; grep -il orbelin "$WINEPREFIX"/*.reg || true)
[ -z "$left" ] || { echo "FAIL: left after the uninstall:"; echo "$left"; exit 1; }
echo "uninstalled: the prefix has no file and no registry key more than before the install"
rm -rf "$WINEPREFIX"
