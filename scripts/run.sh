#!/usr/bin/env bash
# Starts the whole system on this machine: the company's server (prices, counter, estimate
# inbox, mail delivery) on a fixed local port, a local mail catcher that keeps every mail the
# server sends in a folder beside its database, and the desktop program built to talk to it. Closing the
# program stops the server again, unless it was already running before.
# Without a display it shows the main job another way: the quick estimate of the default
# flat from the command-line front end, with the prices the server hands out.
set -euo pipefail
cd "$(dirname "$0")/.."

# The port the local preset compiles into the program (CMakePresets.json).
port=18080
address="http://127.0.0.1:$port"
build=build/local
data="${XDG_DATA_HOME:-$HOME/.local/share}/decor-company-server"
prices="$data/prices"
mail="$data/mail"

echo "正在构建（首次需要几分钟）……" >&2
build_log=$(mktemp)
if ! { cmake --preset local && cmake --build --preset local --target decor-estimator decor-company-server decor-cli; } \
    >"$build_log" 2>&1; then
  tail -n 40 "$build_log" >&2
  echo "构建失败，完整输出见 $build_log" >&2
  exit 1
fi
rm -f "$build_log"

server_bin="$build/src/server/decor-company-server"
gui="$build/src/app/decor-estimator"

# What answers on the port: nothing, our server, or something else.
port_state() {
  if ! (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null; then
    echo free
    return
  fi
  local reply
  reply=$( (exec 3<>"/dev/tcp/127.0.0.1/$port" &&
            printf 'GET /identity HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\n' >&3 &&
            timeout 3 cat <&3) 2>/dev/null || true)
  case "$reply" in
    *decor-company-server*) echo ours ;;
    *) echo other ;;
  esac
}

server_pid=
catcher_pid=
stop_server() {
  if [ -n "$server_pid" ]; then
    kill -TERM "$server_pid" 2>/dev/null || true
    wait "$server_pid" 2>/dev/null || true
    server_pid=
  fi
  if [ -n "$catcher_pid" ]; then
    kill -TERM "$catcher_pid" 2>/dev/null || true
    wait "$catcher_pid" 2>/dev/null || true
    catcher_pid=
  fi
}

# The mail catcher: an SMTP server on a free local port that writes each message to $mail.
start_catcher() {
  local log
  log=$(mktemp)
  /usr/bin/python3 scripts/mail-catcher.py --folder "$mail" >"$log" 2>&1 &
  catcher_pid=$!
  for _ in $(seq 100); do
    grep -q '^正在监听 smtp://' "$log" && break
    kill -0 "$catcher_pid" 2>/dev/null || break
    sleep 0.1
  done
  smtp=$(sed -n 's/^正在监听 //p' "$log" | head -n 1)
  if [ -z "$smtp" ]; then
    echo "本地邮件接收程序未能启动：" >&2
    cat "$log" >&2
    rm -f "$log"
    catcher_pid=
    exit 1
  fi
  rm -f "$log"
}
trap stop_server EXIT
trap 'exit 130' INT TERM

# Staff edit the price files here; start them from the built-in prices.
if [ ! -d "$prices" ]; then
  "$server_bin" prices --write "$prices" >/dev/null
fi

case "$(port_state)" in
  ours)
    echo "公司服务器已在 $address 运行，直接使用。" >&2
    ;;
  other)
    echo "端口 $port 已被其他程序占用，无法启动公司服务器。请先关闭占用该端口的程序。" >&2
    exit 1
    ;;
  free)
    start_catcher
    log=$(mktemp)
    "$server_bin" --port "$port" --data "$data/company.sqlite3" --prices "$prices" \
      --smtp "$smtp" --mail-from noreply@localhost --sales-mail sales@localhost >"$log" 2>&1 &
    server_pid=$!
    for _ in $(seq 100); do
      grep -q '^正在监听 ' "$log" && break
      if ! kill -0 "$server_pid" 2>/dev/null; then
        server_pid=
        echo "公司服务器未能启动：" >&2
        cat "$log" >&2
        rm -f "$log"
        exit 1
      fi
      sleep 0.1
    done
    if ! grep -q '^正在监听 ' "$log"; then
      echo "公司服务器 10 秒内未开始监听：" >&2
      cat "$log" >&2
      rm -f "$log"
      exit 1
    fi
    rm -f "$log"
    echo "公司服务器已启动：$address（数据：$data）" >&2
    echo "发出的邮件（发给客户的报价和发给销售 sales@localhost 的咨询）保存在 $mail，每封一个 .eml 文件。" >&2
    ;;
esac

echo "网页版（手机或浏览器打开）：$address/" >&2

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  status=0
  "$gui" || status=$?
  exit "$status"
fi

if [ -f "$prices/AppConfig.xml" ] || [ -f "$prices/Xiangxi.xml" ]; then
  echo "没有图形显示（DISPLAY 未设置），无法打开窗口。下面是默认户型的快速估算结果（价格取自公司服务器的价格文件夹 $prices）：" >&2
  "$build/src/cli/decor-cli" estimate --prices "$prices"
else
  echo "没有图形显示（DISPLAY 未设置），无法打开窗口。下面是默认户型的快速估算结果（内置价格）：" >&2
  "$build/src/cli/decor-cli" estimate
fi
echo >&2
if [ -n "$server_pid" ]; then
  echo "公司服务器地址：$address（本命令结束时随之停止）。" >&2
else
  echo "公司服务器地址：$address（此前已在运行，保持运行）。" >&2
fi
echo "网页版：$address/（浏览器打开即可估算和发送；接口见 README）" >&2
echo "收到的报价：$server_bin inbox --data $data/company.sqlite3" >&2
echo "发出的邮件：$mail（每封一个 .eml 文件，可用邮件程序打开）；待发送和失败的：$server_bin outbox --data $data/company.sqlite3" >&2
