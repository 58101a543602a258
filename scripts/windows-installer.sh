#!/usr/bin/env bash
# Builds the Windows release: the toolchain (cached), decor-estimator.exe and decor-cli.exe
# with the windows preset, the run-time files beside them, and the NSIS installer
# build/windows/decor-estimator-<version>-setup.exe.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/windows-toolchain.sh all
DECOR_WINDOWS_PREFIXES="$(./scripts/windows-toolchain.sh print-prefixes)"
export DECOR_WINDOWS_PREFIXES
libs="${DECOR_WINDOWS_PREFIXES%%;*}"
qt="${DECOR_WINDOWS_PREFIXES##*;}"

cmake --preset windows >/dev/null
cmake --build --preset windows --target decor-estimator decor-cli
version="$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/windows/CMakeCache.txt)"
company="$(sed -n 's/^DECOR_COMPANY_NAME:STRING=//p' build/windows/CMakeCache.txt)"

# Everything the program loads, so that it runs on a Windows with nothing else installed.
deploy=build/windows/deploy
rm -rf "$deploy"
mkdir -p "$deploy"/{platforms,styles,imageformats,translations}
cp build/windows/src/app/decor-estimator.exe build/windows/src/cli/decor-cli.exe "$deploy/"
cp "$qt"/bin/Qt6{Core,Gui,Widgets,PrintSupport}.dll "$deploy/"
cp "$qt"/plugins/platforms/{qwindows,qoffscreen}.dll "$deploy/platforms/"
cp "$qt"/plugins/styles/qwindowsvistastyle.dll "$deploy/styles/"
cp "$qt"/plugins/imageformats/q{jpeg,gif,ico}.dll "$deploy/imageformats/"
cp /usr/share/qt6/translations/qtbase_zh_CN.qm "$deploy/translations/"
cp "$libs"/bin/{libcurl,libxlsxwriter,zlib1}.dll "$deploy/"
cp /usr/lib/gcc/x86_64-w64-mingw32/12-posix/{libstdc++-6,libgcc_s_seh-1}.dll /usr/x86_64-w64-mingw32/lib/libwinpthread-1.dll "$deploy/"
# Plugins are found beside the program, whatever prefix Qt was built for.
printf '[Paths]\nPrefix = .\nPlugins = .\nTranslations = translations\n' >"$deploy/qt.conf"
find "$deploy" \( -name '*.exe' -o -name '*.dll' \) -exec x86_64-w64-mingw32-strip --strip-unneeded {} +
size_kb="$(du -sk "$deploy" | cut -f1)"

out="$PWD/build/windows/decor-estimator-$version-setup.exe"
makensis -V2 -INPUTCHARSET UTF8 -DVERSION="$version" -DSOURCE="$PWD/$deploy" -DSIZE_KB="$size_kb" \
  -DICON="$PWD/build/windows/packaging/windows/decor-estimator.ico" -DOUTFILE="$out" -DCOMPANY="$company" \
  packaging/windows/installer.nsi
echo "windows-installer: $out ($(du -k "$out" | cut -f1) KiB; installs $size_kb KiB)"
