#!/usr/bin/env bash
# Builds the program and starts it. Without a display it shows the main job another way:
# the quick estimate of the default flat, from the command-line front end.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset default >/dev/null
cmake --build --preset default >/dev/null

gui=build/default/src/app/decor-estimator
if [ -x "$gui" ] && { [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; }; then
  exec "$gui"
fi
if [ -x "$gui" ]; then
  echo "没有图形显示（DISPLAY 未设置），无法打开窗口。下面是默认户型的快速估算结果：" >&2
else
  echo "图形界面尚未构建，下面是默认户型的快速估算结果：" >&2
fi
exec build/default/src/cli/decor-cli estimate
