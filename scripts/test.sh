#!/usr/bin/env bash
# Builds and runs every test: under AddressSanitizer + UBSan, under ThreadSanitizer, the
# fuzz harnesses for a bounded time each (scripts/fuzz.sh), and the normal build last (its
# ctest summary closes the output).
set -euo pipefail
cd "$(dirname "$0")/.."
export QT_QPA_PLATFORM=offscreen
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d)}"
chmod 700 "$XDG_RUNTIME_DIR"

run_preset() {
  echo "=== $1 ==="
  cmake --preset "$1" >/dev/null
  cmake --build --preset "$1"
  ctest --preset "$1" -j2
}

run_preset asan
run_preset tsan
echo "=== fuzz ==="
./scripts/fuzz.sh
run_preset default
