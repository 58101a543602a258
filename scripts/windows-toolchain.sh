#!/usr/bin/env bash
# Builds the Windows libraries the cross build links against, from Debian's own source
# packages, into a cache outside the work tree:
#   libs  GoogleTest (from /usr/src/googletest), libcurl (Schannel) and libxlsxwriter;
#         zlib is Debian's prebuilt libz-mingw-w64-dev. A few minutes.
#   qt    Qt 6.4.2 qtbase (Core, Gui, Widgets, PrintSupport), shared. About an hour on 2 cores.
# Usage: windows-toolchain.sh [libs|qt|all|print-prefixes] (default all)
# Each stage lives in a folder named after the versions it builds and is marked complete
# only at the end, so a second run returns at once and a broken run resumes where it stopped
# (ninja keeps the finished objects). DECOR_WINDOWS_CACHE moves the cache (default
# ~/.cache/decor-windows); DECOR_WINDOWS_JOBS sets the job count (default 2).
set -euo pipefail

here="$(cd "$(dirname "$0")/.." && pwd)"
cache="${DECOR_WINDOWS_CACHE:-$HOME/.cache/decor-windows}"
jobs="${DECOR_WINDOWS_JOBS:-2}"
toolchain="$here/cmake/mingw-w64-x86_64.cmake"
stage="${1:-all}"

qt_version=6.4.2
qt_source_version=6.4.2+dfsg-10
# The Windows curl and libxlsxwriter are the same source versions the Linux build links.
installed_source_version() {
  dpkg-query -W -f='${source:Version}' "$1" 2>/dev/null
}
curl_version="$(installed_source_version libcurl4-openssl-dev)"
xlsx_version="$(installed_source_version libxlsxwriter-dev)"
gtest_version="$(installed_source_version libgtest-dev)"
gcc_version="$(x86_64-w64-mingw32-g++-posix -dumpversion 2>/dev/null || echo none)"

libs_prefix="$cache/libs-gcc$gcc_version-curl$curl_version-xlsxwriter$xlsx_version-gtest$gtest_version"
qt_prefix="$cache/qtbase-$qt_source_version-gcc$gcc_version"

say() { echo "windows-toolchain: $*" >&2; }

if [ "$stage" = print-prefixes ]; then
  echo "$libs_prefix;$qt_prefix"
  exit 0
fi

for tool in x86_64-w64-mingw32-g++-posix x86_64-w64-mingw32-windres cmake ninja dpkg-source; do
  command -v "$tool" >/dev/null || { say "missing $tool (run ./scripts/setup.sh)"; exit 1; }
done
[ -n "$curl_version" ] && [ -n "$xlsx_version" ] && [ -n "$gtest_version" ] ||
  { say "the Linux development packages are missing (run ./scripts/setup.sh)"; exit 1; }

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# apt-get source needs deb-src entries: mirror the deb entries of the system's sources.
ensure_deb_src() {
  local list=/etc/apt/sources.list.d/decor-deb-src.sources
  [ -f "$list" ] && return 0
  say "adding deb-src entries ($list)"
  sed -n 's/^Types: deb$/Types: deb-src/; p' /etc/apt/sources.list.d/debian.sources |
    as_root tee "$list" >/dev/null
  as_root apt-get update -qq
}

# fetch PACKAGE VERSION: downloads a source package into $cache/sources once.
fetch_source() {
  local pkg="$1" version="$2" dir="$cache/sources/$1-$2"
  if [ ! -f "$dir/.complete" ]; then
    ensure_deb_src
    say "downloading the source of $pkg $version"
    rm -rf "$dir" && mkdir -p "$dir"
    (cd "$dir" && apt-get source --download-only -qq "$pkg=$version" 2>&1 |
      grep -v 'unsandboxed as root' || true)
    ls "$dir"/*.dsc >/dev/null
    touch "$dir/.complete"
  fi
  echo "$dir"
}

# Runs a build command, keeping its whole output in a log and printing every 50th step.
build_logged() {
  local log="$1"
  shift
  say "building, log in $log"
  if ! "$@" 2>&1 | tee -a "$log" | awk '/^\[[0-9]+\/[0-9]+\]/ { n++; if (n % 50 == 1) { print "  " $1; fflush() } }'; then
    say "build failed; the end of $log:"
    tail -n 30 "$log"
    return 1
  fi
}

cmake_cross() {
  cmake -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
    -DDECOR_WINDOWS_PREFIXES="$1" -DCMAKE_INSTALL_PREFIX="$1" "${@:2}"
}

build_gtest() {
  local build="$libs_prefix.build/googletest"
  [ -f "$libs_prefix/lib/libgtest.a" ] && return 0
  say "GoogleTest $gtest_version"
  cmake_cross "$libs_prefix" -S /usr/src/googletest -B "$build" -DBUILD_GMOCK=OFF \
    -Dgtest_disable_pthreads=OFF -DCMAKE_CXX_FLAGS="-w" >"$libs_prefix.build/googletest.log"
  build_logged "$libs_prefix.build/googletest.log" cmake --build "$build" -j "$jobs"
  cmake --install "$build" >/dev/null
}

build_curl() {
  [ -f "$libs_prefix/bin/libcurl.dll" ] && return 0
  local src dir="$libs_prefix.build/curl-src" build="$libs_prefix.build/curl"
  src="$(fetch_source curl "$curl_version")"
  say "libcurl $curl_version (Schannel)"
  if [ ! -d "$dir" ]; then
    dpkg-source --no-check -x "$src"/curl_*.dsc "$dir.tmp" >/dev/null
    mv "$dir.tmp" "$dir"
  fi
  # Only HTTP(S) is used; TLS goes through Windows' own Schannel and its certificate store.
  cmake_cross "$libs_prefix" -S "$dir" -B "$build" -DBUILD_SHARED_LIBS=ON -DBUILD_CURL_EXE=OFF \
    -DBUILD_TESTING=OFF -DCURL_USE_SCHANNEL=ON -DCURL_USE_OPENSSL=OFF -DCURL_USE_LIBSSH2=OFF \
    -DCURL_USE_LIBPSL=OFF -DUSE_NGHTTP2=OFF -DUSE_LIBIDN2=OFF -DCURL_BROTLI=OFF -DCURL_ZSTD=OFF \
    -DENABLE_UNICODE=ON -DHTTP_ONLY=ON -DCURL_DISABLE_LDAP=ON -DZLIB_LIBRARY=/usr/x86_64-w64-mingw32/lib/libz.dll.a \
    -DZLIB_INCLUDE_DIR=/usr/x86_64-w64-mingw32/include -DCMAKE_C_FLAGS="-w" >"$libs_prefix.build/curl.log"
  build_logged "$libs_prefix.build/curl.log" cmake --build "$build" -j "$jobs"
  cmake --install "$build" >/dev/null
}

build_xlsxwriter() {
  [ -f "$libs_prefix/bin/libxlsxwriter.dll" ] && return 0
  local src dir="$libs_prefix.build/libxlsxwriter-src" build="$libs_prefix.build/libxlsxwriter"
  src="$(fetch_source libxlsxwriter "$xlsx_version")"
  say "libxlsxwriter $xlsx_version"
  if [ ! -d "$dir" ]; then
    dpkg-source --no-check -x "$src"/libxlsxwriter_*.dsc "$dir.tmp" >/dev/null
    # Built with MinGW it opens files with the ANSI fopen, so a workbook named 报价.xlsx or
    # saved under D:\报价\ cannot be written. Its own Windows code (UTF-8 names made wide,
    # minizip's Win32 file functions) is what MSVC builds get; use it here too.
    sed -i '/^#ifdef __MINGW32__$/,/^#endif$/{/#undef _WIN32/d}' "$dir.tmp/src/utility.c" "$dir.tmp/src/packager.c"
    sed -i 's/^    if(MSVC)$/    if(WIN32)/' "$dir.tmp/CMakeLists.txt"
    grep -q 'if(WIN32)' "$dir.tmp/CMakeLists.txt" && ! grep -q '#undef _WIN32' "$dir.tmp/src/utility.c" ||
      { say "libxlsxwriter: the Windows file names patch no longer applies"; exit 1; }
    mv "$dir.tmp" "$dir"
  fi
  cmake_cross "$libs_prefix" -S "$dir" -B "$build" -DBUILD_SHARED_LIBS=ON -DBUILD_TESTS=OFF \
    -DBUILD_EXAMPLES=OFF -DZLIB_LIBRARY=/usr/x86_64-w64-mingw32/lib/libz.dll.a \
    -DZLIB_INCLUDE_DIR=/usr/x86_64-w64-mingw32/include -DCMAKE_C_FLAGS="-w" >"$libs_prefix.build/libxlsxwriter.log"
  build_logged "$libs_prefix.build/libxlsxwriter.log" cmake --build "$build" -j "$jobs"
  cmake --install "$build" >/dev/null
  # The project's CMake install writes no .pc file on every version; the build finds it by one.
  if [ ! -f "$libs_prefix/lib/pkgconfig/xlsxwriter.pc" ]; then
    mkdir -p "$libs_prefix/lib/pkgconfig"
    cat >"$libs_prefix/lib/pkgconfig/xlsxwriter.pc" <<EOF
prefix=$libs_prefix
libdir=\${prefix}/lib
includedir=\${prefix}/include

Name: libxlsxwriter
Description: A C library for creating Excel XLSX files
Version: ${xlsx_version%%-*}
Requires.private: zlib
Cflags: -I\${includedir}
Libs: -L\${libdir} -lxlsxwriter
EOF
  fi
}

stage_libs() {
  if [ -f "$libs_prefix/.complete" ]; then
    say "libraries ready in $libs_prefix"
    return 0
  fi
  [ -f /usr/x86_64-w64-mingw32/lib/libz.dll.a ] ||
    { say "libz-mingw-w64-dev is missing (run ./scripts/setup.sh)"; exit 1; }
  mkdir -p "$libs_prefix.build" "$libs_prefix/bin"
  local start=$SECONDS
  build_gtest
  build_curl
  build_xlsxwriter
  cp /usr/x86_64-w64-mingw32/lib/zlib1.dll "$libs_prefix/bin/"
  touch "$libs_prefix/.complete"
  rm -rf "$libs_prefix.build"
  say "libraries built in $((SECONDS - start)) s into $libs_prefix"
}

stage_qt() {
  if [ -f "$qt_prefix/.complete" ]; then
    say "Qt $qt_version ready in $qt_prefix"
    return 0
  fi
  local src dir="$qt_prefix.build/qtbase-src" build="$qt_prefix.build/qtbase" start=$SECONDS
  mkdir -p "$qt_prefix.build"
  src="$(fetch_source qt6-base "$qt_source_version")"
  if [ ! -d "$dir" ]; then
    # The upstream sources of the dfsg tarball; Debian's patches concern its Linux packaging.
    say "unpacking qtbase $qt_source_version"
    mkdir -p "$dir.tmp"
    tar -xf "$src"/qt6-base_*.orig.tar.xz -C "$dir.tmp" --strip-components=1
    mv "$dir.tmp" "$dir"
  fi
  if [ ! -f "$build/build.ninja" ]; then
    say "configuring qtbase for win32-g++"
    # The bundled third-party libraries, since Debian has none of them for mingw. The dfsg
    # tarball drops wintab, hence no tablet events; OpenGL stays on because the Windows
    # platform plugin of 6.4 does not compile without it (Windows brings opengl32.dll).
    cmake -G Ninja -S "$dir" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
      -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$qt_prefix" \
      -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
      -DQT_QMAKE_TARGET_MKSPEC=win32-g++ -DBUILD_SHARED_LIBS=ON \
      -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF \
      -DFEATURE_system_zlib=OFF -DFEATURE_system_png=OFF -DFEATURE_system_jpeg=OFF \
      -DFEATURE_system_pcre2=OFF -DFEATURE_system_harfbuzz=OFF -DFEATURE_system_freetype=OFF \
      -DFEATURE_system_doubleconversion=OFF \
      -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_testlib=OFF -DFEATURE_dbus=OFF \
      -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF -DFEATURE_tabletevent=OFF \
      -DFEATURE_opengl=ON >"$qt_prefix.build/configure.log" 2>&1 ||
      { tail -n 30 "$qt_prefix.build/configure.log"; exit 1; }
  fi
  say "building qtbase ($jobs jobs; resumes if interrupted)"
  build_logged "$qt_prefix.build/build.log" cmake --build "$build" -j "$jobs"
  cmake --install "$build" >"$qt_prefix.build/install.log"
  touch "$qt_prefix/.complete"
  rm -rf "$qt_prefix.build"
  say "Qt built in $((SECONDS - start)) s into $qt_prefix"
}

case "$stage" in
  libs) stage_libs ;;
  qt) stage_qt ;;
  all) stage_libs; stage_qt ;;
  *) echo "usage: $0 [libs|qt|all|print-prefixes]" >&2; exit 2 ;;
esac
