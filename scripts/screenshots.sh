#!/usr/bin/env bash
# Saves a picture of every window into shots/ (not tracked): each window as the GUI test
# binary shows it on a virtual X display (xcb, real fonts), plus the whole screen while the
# program itself runs, and the first two pages of a printed quotation. Needs xvfb-run,
# ImageMagick's import and poppler's pdftoppm.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset default >/dev/null
cmake --build --preset default --target gui_tests decor-estimator decor-cli >/dev/null

mkdir -p shots
export LANG=C.UTF-8 QT_QPA_PLATFORM=xcb
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d)}"
screen='-screen 0 1400x1000x24'

xvfb-run -a -s "$screen" build/default/tests/gui/gui_tests --screenshots shots

# The program as started: main window with its start-up work done.
xvfb-run -a -s "$screen" bash -c '
  build/default/src/app/decor-estimator & pid=$!
  sleep 2
  import -window root shots/desktop.png
  kill "$pid"
'
echo "saved shots/desktop.png"

# A printed quotation: the full package of a small flat, drawn by the same painting as the
# print preview, saved as PDF and rendered page by page.
rooms=$(mktemp)
printf '%s\t%s\t%s\t%s\t%s\t%s\n' \
  客厅 3200*2800*2920 800*1500 实木门 1 4 \
  餐厅 3000*2500*2800 600*1200 推拉门 2 4 \
  卧室 3600*3000*2800 1500*1500 实木门 1 4 \
  厨房 3000*2000*2800 600*1500 推拉门 2 4 \
  卫生间 2000*1800*2600 600*600 塑钢门 1 4 \
  阳台 4000*1500*2800 0*0 '(无)' 0 1 >"$rooms"
build/default/src/cli/decor-cli quote --rooms "$rooms" --grade 舒适型装修 --package 全包 \
  --pdf shots/printed_quotation.pdf >/dev/null
rm -f "$rooms"
pdftoppm -r 110 -png -f 1 -l 2 shots/printed_quotation.pdf shots/printed_page
echo saved shots/printed_page-*.png
