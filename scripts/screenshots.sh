#!/usr/bin/env bash
# Saves a picture of every window into shots/ (not tracked): each window as the GUI test
# binary shows it on a virtual X display (xcb, real fonts), plus the whole screen while the
# program itself runs. Needs xvfb-run and ImageMagick's import.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset default >/dev/null
cmake --build --preset default --target gui_tests decor-estimator >/dev/null

mkdir -p shots
export LANG=C.UTF-8 QT_QPA_PLATFORM=xcb
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d)}"
screen='-screen 0 1024x768x24'

xvfb-run -a -s "$screen" build/default/tests/gui/gui_tests --screenshots shots

# The program as started: main window with its start-up work done.
xvfb-run -a -s "$screen" bash -c '
  build/default/src/app/decor-estimator & pid=$!
  sleep 2
  import -window root shots/desktop.png
  kill "$pid"
'
echo "saved shots/desktop.png"
