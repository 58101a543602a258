#!/usr/bin/env bash
# The Windows part of the tests, without Qt: builds the Windows libraries (first time only),
# core, decor-cli and the core tests with mingw-w64, and runs them under Wine in a fresh
# prefix. decor-cli.exe must print byte for byte what the Linux decor-cli prints on every case
# of the table below, and both builds must have the same code-page tables.
# Needs the Linux decor-cli and codepage_tables (build/default) built first.
set -euo pipefail
cd "$(dirname "$0")/.."
start=$SECONDS

./scripts/windows-toolchain.sh libs
DECOR_WINDOWS_PREFIXES="$(./scripts/windows-toolchain.sh print-prefixes)"
export DECOR_WINDOWS_PREFIXES
libs="${DECOR_WINDOWS_PREFIXES%%;*}"

cmake --preset windows-core >/dev/null
cmake --build --preset windows-core --target core_tests decor-cli codepage_tables

linux=build/default
win=build/windows-core
work="$(mktemp -d)"
trap 'WINEPREFIX="$work/prefix" wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT

export WINEPREFIX="$work/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export WINEPATH="$libs/bin;/usr/lib/gcc/x86_64-w64-mingw32/12-posix;/usr/x86_64-w64-mingw32/lib"
wine wineboot --init >/dev/null 2>&1
echo "windows: fresh Wine prefix after $((SECONDS - start)) s"

wine "$win/tests/core_tests.exe" --gtest_brief=1

"$linux/tests/codepage_tables" >"$work/tables-linux"
wine "$win/tests/codepage_tables.exe" >"$work/tables-windows"
cmp "$work/tables-linux" "$work/tables-windows"
echo "windows: code-page tables identical ($(sha256sum <"$work/tables-linux" | cut -c1-16)…)"

# Rooms of a whole flat, Chinese names and edits included; the same file for both programs.
printf '%s\n' \
  $'客厅\t4200*3600*2800\t1800*1500\t实木门\t1\t4' \
  $'餐厅\t3000*2800*2800\t0*0\t(无)\t0\t3' \
  $'主卧\t3900*3300*2800\t1500*1500\t实木门\t1\t4' \
  $'次卧\t3300*3000*2800\t1200*1500\t实木门\t1\t4' \
  $'厨房\t2800*2000*2800\t900*1200\t推拉门\t2\t4' \
  $'卫生间\t2400*1800*2800\t600*900\t铝合金门\t1\t4' \
  $'阳台\t3600*1500*2800\t3600*1500\t(无)\t0\t2' >"$work/rooms.txt"
rooms_linux="$work/rooms.txt"
rooms_windows="$(winepath -w "$work/rooms.txt")"

# One case a line: the arguments, tab-separated; ROOMS stands for the room file.
cases="$(cat <<'EOF'
estimate
estimate	--grade	出租房装修	--area	60	--bedrooms	1	--balconies	0
estimate	--grade	经济型装修	--area	８５平方
estimate	--grade	舒适型装修	--bedrooms	4	--halls	2	--bathrooms	2	--area	160.5
estimate	--grade	精  装  修	--area	120
estimate	--grade	豪华型装修	--area	300	--kitchens	2
estimate	--grade	luxury	--bedrooms	0	--halls	0
estimate	--area	abc
estimate	--grade	不存在
quote	--rooms	ROOMS
quote	--rooms	ROOMS	--grade	出租房装修	--package	全包
quote	--rooms	ROOMS	--grade	经济型装修	--package	半包	--floor	瓷砖
quote	--rooms	ROOMS	--grade	舒适型装修	--package	全包	--csv
quote	--rooms	ROOMS	--grade	精  装  修	--package	全包	--floor	瓷砖
quote	--rooms	ROOMS	--grade	豪华型装修	--package	半包
quote	--rooms	ROOMS	--package	全包	--modify	3	顶面批腻子（增）	M2	3	12.5	--delete	5	--add	手工添加项	2	18.75
quote	--rooms	ROOMS	--package	半包	--add	窗帘	1	１２００	--delete	0	--csv
quote	--rooms	ROOMS	--modify	99	x	M2	1	1
quote	--rooms	不存在的房间文件.txt
EOF
)"

failed=0
count=0
while IFS=$'\t' read -r -a args; do
  count=$((count + 1))
  linux_args=("${args[@]/#ROOMS/$rooms_linux}")
  windows_args=("${args[@]/#ROOMS/$rooms_windows}")
  linux_status=0
  windows_status=0
  "$linux/src/cli/decor-cli" "${linux_args[@]}" >"$work/out-linux" 2>"$work/err-linux" || linux_status=$?
  wine "$win/src/cli/decor-cli.exe" "${windows_args[@]}" >"$work/out-windows" 2>"$work/err-windows" ||
    windows_status=$?
  # Error texts name the room file, whose path differs; everything else must be equal.
  sed -i "s#$(printf '%s' "$rooms_windows" | sed 's/[\\.]/\\&/g')#ROOMS#g" "$work/err-windows"
  sed -i "s#$rooms_linux#ROOMS#g" "$work/err-linux"
  if [ "$linux_status" -ne "$windows_status" ] || ! cmp -s "$work/out-linux" "$work/out-windows" ||
     ! cmp -s "$work/err-linux" "$work/err-windows"; then
    echo "windows: decor-cli differs (exit $linux_status / $windows_status): ${args[*]}"
    diff <(od -c "$work/out-linux") <(od -c "$work/out-windows") | head -n 10 || true
    diff "$work/err-linux" "$work/err-windows" | head -n 10 || true
    failed=$((failed + 1))
  fi
done <<<"$cases"

if [ "$failed" -ne 0 ]; then
  echo "windows: $failed of $count decor-cli cases differ from Linux"
  exit 1
fi
echo "windows: decor-cli.exe equals the Linux decor-cli on all $count cases; $((SECONDS - start)) s in all"
