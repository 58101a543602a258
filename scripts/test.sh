#!/usr/bin/env bash
# Builds and runs every test: under AddressSanitizer + UBSan, under ThreadSanitizer, the
# fuzz harnesses for a bounded time each (scripts/fuzz.sh), a distribution-style build, and
# the normal build last (its ctest summary closes the output).
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

# The Windows build under Wine: core, decor-cli and the core tests always; the installer and
# its smoke test only when the cross-built Qt is in the cache (scripts/windows-toolchain.sh qt).
run_windows() {
  echo "=== windows ==="
  cmake --build --preset default --target decor-cli codepage_tables
  ./scripts/windows-ci.sh
  local qt_prefix
  qt_prefix="$(./scripts/windows-toolchain.sh print-prefixes | cut -d';' -f2)"
  if [ -f "$qt_prefix/.complete" ] && [ -x ./scripts/windows-installer.sh ] && [ -x ./scripts/windows-smoke.sh ]; then
    ./scripts/windows-installer.sh && ./scripts/windows-smoke.sh
  else
    echo "windows: no installer build or smoke test here (needs the cached Qt for Windows and the installer scripts)"
  fi
}

run_preset asan
run_preset tsan
echo "=== fuzz ==="
./scripts/fuzz.sh
# The way a distribution builds: no preset, Release (-O3), Debian's hardening flags. Warnings
# stop it here, so code that only warns under these flags cannot land unseen. Its programs are
# the ones the presets test, so it only compiles (tests and benchmarks off).
echo "=== distribution build ==="
cmake -S . -B build/distribution -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" \
  -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" \
  -DCMAKE_COMPILE_WARNING_AS_ERROR=ON -DBUILD_TESTING=OFF -DDECOR_BUILD_BENCH=OFF >/dev/null
cmake --build build/distribution

cmake --preset default >/dev/null
run_windows
run_preset default
