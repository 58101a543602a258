#!/usr/bin/env bash
# check_packages.sh BUILD_DIR EXPECTED_DIR: builds the Debian packages from an already built
# tree and checks each one against EXPECTED_DIR/<package>.contents (mode, owner and path of
# every file), <package>.control (control members, then the conffiles) and <package>.depends
# (the names in Depends, versions dropped). Then it checks what the packages hold: lintian finds
# no error, no installed file names the build or source folder, the desktop entry, AppStream
# file and service unit validate, the installed decor-cli runs, and the packaged price files
# hold the built-in prices.
set -euo pipefail
export LC_ALL=C  # the same sort order everywhere
build=$(cd "$1" && pwd)
expected=$(cd "$2" && pwd)
source_dir=$(cd "$expected/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 || {
  cat "$work/cpack.log" >&2
  exit 1
}

for list in "$expected"/*.contents; do
  package=$(basename "$list" .contents)
  debs=("$work"/out/"${package}"_*.deb)
  if [[ ! -f ${debs[0]} ]]; then
    fail "no package $package was built"
    continue
  fi
  deb=${debs[0]}

  # Mode, owner and path; a symbolic link keeps its target.
  dpkg-deb -c "$deb" | awk '{ $3 = ""; $4 = ""; $5 = ""; print }' | tr -s ' ' | sort -k3 >"$work/$package.contents"
  diff -u "$list" "$work/$package.contents" >&2 || fail "$package: installed files differ from $list"

  # Control members (maintainer scripts, conffiles) and the conffiles themselves.
  dpkg-deb --ctrl-tarfile "$deb" | tar -t | sed 's|^\./||; /^$/d' | sort >"$work/$package.control"
  dpkg-deb -I "$deb" conffiles >>"$work/$package.control" 2>/dev/null || true
  diff -u "$expected/$package.control" "$work/$package.control" >&2 || fail "$package: control files differ"

  dpkg-deb -f "$deb" Depends | tr ',|' '\n\n' | sed 's/(.*)//; s/ //g' | sed '/^$/d' | sort -u >"$work/$package.depends"
  diff -u "$expected/$package.depends" "$work/$package.depends" >&2 || fail "$package: dependencies differ"

  # lintian exits non-zero on errors only (warnings are printed for the record).
  lintian --fail-on error --suppress-tags-from-file /dev/null "$deb" >"$work/lintian.log" 2>&1 ||
    { cat "$work/lintian.log" >&2; fail "$package: lintian reports errors"; }

  root=$work/root-$package
  dpkg-deb -x "$deb" "$root"
  # Stripped programs must not carry the build or source folder: nothing may be read from there.
  while IFS= read -r -d '' file; do
    if grep -q -F -e "$build" -e "$source_dir" "$file"; then fail "$package: ${file#"$root"} names $build or $source_dir"; fi
  done < <(find "$root" -type f -print0)
done

root=$work/root-decor-estimator
if [[ -d $root ]]; then
  for desktop in "$root"/usr/share/applications/*.desktop; do
    desktop-file-validate "$desktop" || fail "desktop entry $(basename "$desktop") does not validate"
  done
  for metainfo in "$root"/usr/share/metainfo/*.xml; do
    appstreamcli validate --no-net "$metainfo" >"$work/appstream.log" 2>&1 ||
      { cat "$work/appstream.log" >&2; fail "AppStream file $(basename "$metainfo") does not validate"; }
  done
  # The installed decor-cli prints exactly what the built one prints.
  "$build/src/cli/decor-cli" estimate >"$work/built.txt"
  "$root/usr/bin/decor-cli" estimate >"$work/installed.txt" || fail "installed decor-cli estimate failed"
  cmp -s "$work/built.txt" "$work/installed.txt" || fail "installed decor-cli prints a different estimate"
fi

root=$work/root-decor-company-server
if [[ -d $root ]]; then
  # systemd-analyze checks that ExecStart names an executable: point it at the unpacked one.
  mkdir -p "$work/unit"
  sed "s|/usr/bin/decor-company-server|$root/usr/bin/decor-company-server|" \
    "$root/lib/systemd/system/decor-company-server.service" >"$work/unit/decor-company-server.service"
  systemd-analyze verify "$work/unit/decor-company-server.service" || fail "the service unit does not verify"
  # The price files staff start from hold exactly the built-in prices.
  "$build/src/cli/decor-cli" estimate --grade luxury >"$work/built.txt"
  "$build/src/cli/decor-cli" estimate --grade luxury --prices "$root/etc/decor-company-server/prices" >"$work/served.txt" ||
    fail "decor-cli cannot read the packaged price files"
  cmp -s "$work/built.txt" "$work/served.txt" || fail "the packaged price files differ from the built-in prices"
fi

if ((failures > 0)); then
  echo "$failures check(s) failed" >&2
  exit 1
fi
echo "packages: $(ls "$work"/out/*.deb | xargs -n1 basename | tr '\n' ' ')"
