#!/usr/bin/env bash
# Builds the Debian packages of a build tree, unpacks them into a scratch
# root as dpkg would install them, and checks what they hold: the installed
# programs start and say their version, the desktop files, icons, metainfo
# and man pages are where the desktop looks for them, the dependencies were
# declared, and lintian finds no error.
#   deb_test.sh BUILD_DIR SCRATCH_DIR VERSION
# Exits 77 (skipped) when a packaging tool is missing.
set -euo pipefail
build=$1 scratch=$2 version=$3

for tool in cpack dpkg-deb dpkg-shlibdeps file gzip; do
  if ! command -v "$tool" >/dev/null; then
    echo "skipped: $tool is not installed (scripts/deps.sh lists it)"
    exit 77
  fi
done

rm -rf "$scratch"
mkdir -p "$scratch/out" "$scratch/root"
cpack --config "$build/CPackConfig.cmake" -G DEB -B "$scratch/out" >"$scratch/cpack.log" 2>&1 ||
  { cat "$scratch/cpack.log"; exit 1; }

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

for package in vervia telvora; do
  deb=$scratch/out/${package}_${version}_$(dpkg --print-architecture).deb
  [[ -f $deb ]] || fail "no package $deb"
  echo "$(basename "$deb"): $(stat -c %s "$deb") bytes"
  depends=$(dpkg-deb -f "$deb" Depends)
  [[ $depends == *libqt6widgets6* && $depends == *libc6* ]] ||
    fail "$package: dependencies not declared: '$depends'"
  dpkg -x "$deb" "$scratch/root"
done

root=$scratch/root/usr
export QT_QPA_PLATFORM=offscreen
for program in vervia vervia-cli telvora telvora-cli telvora-phonesim; do
  [[ -x $root/bin/$program ]] || fail "$program is not installed in bin/"
  [[ -f $root/share/man/man1/$program.1.gz ]] || fail "$program has no man page"
  out=$("$root/bin/$program" --version) || fail "$program --version failed"
  [[ $out == "$program $version" ]] || fail "$program --version said '$out'"
done

for id in io.github.verviatelvora.Vervia io.github.verviatelvora.Telvora; do
  desktop=$root/share/applications/$id.desktop
  metainfo=$root/share/metainfo/$id.metainfo.xml
  [[ -f $desktop && -f $metainfo ]] || fail "$id: desktop entry or metainfo missing"
  grep -q "<release version=\"$version\"" "$metainfo" || fail "$id: metainfo without this release"
  if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$desktop" || fail "$desktop does not validate"
  fi
  if command -v appstreamcli >/dev/null; then
    appstreamcli validate --no-net "$metainfo" >"$scratch/appstream.log" 2>&1 ||
      { cat "$scratch/appstream.log"; fail "$metainfo does not validate"; }
  fi
done
for icon in vervia telvora; do
  [[ -f $root/share/icons/hicolor/scalable/apps/$icon.svg ]] || fail "no SVG icon $icon"
  for size in 16 32 48 64 128 256; do
    png=$root/share/icons/hicolor/${size}x${size}/apps/$icon.png
    [[ -f $png ]] || fail "no icon $png"
    # The size is in the PNG header: width and height at bytes 16..23.
    dims=$(od -An -tu1 -j16 -N8 "$png" | awk '{print $3*256+$4 "x" $7*256+$8}')
    [[ $dims == "${size}x${size}" ]] || fail "$png is $dims"
  done
done

if command -v lintian >/dev/null; then
  lintian --fail-on error "$scratch"/out/*.deb 2>&1 | grep -v "running with root privileges" ||
    true
  lintian --fail-on error "$scratch"/out/*.deb >/dev/null 2>&1 || fail "lintian found errors"
else
  echo "lintian is not installed: not run"
fi
echo "packages fine"
