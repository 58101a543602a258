#!/usr/bin/env bash
# The Windows installer in a fresh Wine prefix: silent install, the installed program's main
# window within 30 s under a virtual display (screenshot in build/windows/smoke.png), the
# installed decor-cli.exe against the Linux one, and a silent uninstall that leaves no folder.
set -euo pipefail
cd "$(dirname "$0")/.."
installer="$(ls -t build/windows/decor-estimator-*-setup.exe | head -n 1)"
work="$(mktemp -d)"
export WINEPREFIX="$work/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
display=":$((90 + RANDOM % 100))"
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'wineserver -k 2>/dev/null || true; kill $xvfb 2>/dev/null || true; rm -rf "$work"' EXIT
export DISPLAY="$display"

wine wineboot --init >/dev/null 2>&1
wine "$installer" /S >/dev/null 2>&1
wineserver -w
folder="$WINEPREFIX/drive_c/Program Files/装修报价评估工具"
[ -f "$folder/decor-estimator.exe" ] || { echo "windows-smoke: nothing installed in $folder"; exit 1; }
echo "windows-smoke: installed, $(du -sk "$folder" | cut -f1) KiB"

started=$(date +%s%N)
wine "$folder/decor-estimator.exe" >/dev/null 2>&1 &
disown  # ended with wineserver -k below, without a "Killed" notice
window=""
for _ in $(seq 1 300); do
  window="$(xdotool search --onlyvisible --name '^装修报价评估工具$' 2>/dev/null | head -n 1 || true)"
  [ -n "$window" ] && break
  sleep 0.1
done
[ -n "$window" ] || { echo "windows-smoke: no window 装修报价评估工具 within 30 s"; exit 1; }
echo "windows-smoke: main window after $(( ($(date +%s%N) - started) / 1000000 )) ms"
sleep 2
import -window root build/windows/smoke.png
echo "windows-smoke: screenshot build/windows/smoke.png"

cmp <(build/default/src/cli/decor-cli estimate --grade 豪华型装修 --area 120) \
    <(wine "$folder/decor-cli.exe" estimate --grade 豪华型装修 --area 120)
echo "windows-smoke: installed decor-cli.exe equals Linux"

wineserver -k || true
wine "$folder/uninstall.exe" /S >/dev/null 2>&1
wineserver -w
# The uninstaller copies itself away and deletes the folder from there; give it a moment.
for _ in $(seq 1 50); do [ -e "$folder" ] || break; sleep 0.2; done
[ ! -e "$folder" ] || { echo "windows-smoke: $folder left after uninstalling"; exit 1; }
echo "windows-smoke: uninstalled, folder removed"
