#!/usr/bin/env bash
# The one list of Debian packages that building, running and testing need.
# Sourced by ./run and ./test; installs only what is missing, once.

DEPS_PACKAGES=(
  cmake g++ make ninja-build pkg-config
  qt6-base-dev qt6-serialport-dev libqt6sql6-sqlite libgl-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  clang-tidy xvfb xauth fonts-dejavu-core
  qt6-translations-l10n
  dpkg-dev file desktop-file-utils appstream
  # Test clients only, never used by the programs: standard GSM tools that the
  # phone simulator is checked against (the test is skipped without them).
  gammu gsm-utils
)
# qt6-translations-l10n: Qt's own texts in Czech. dpkg-dev (dpkg-shlibdeps), file,
# desktop-file-utils and appstream: building the Debian packages and checking
# their desktop entries and metainfo. lintian is not listed (it pulls in some
# hundred Perl packages); the package test runs it where it is installed.

ensure_packages() {
  local missing=() pkg
  for pkg in "${DEPS_PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" ||
      missing+=("$pkg")
  done
  ((${#missing[@]})) || return 0
  local sudo=()
  [[ $(id -u) -ne 0 ]] && sudo=(sudo)
  echo "Installing: ${missing[*]}" >&2
  "${sudo[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# configure_build DIR TYPE [cmake args...]: configure once, reconfigure when asked.
configure_build() {
  local dir=$1 type=$2
  shift 2
  local launcher=()
  command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE="$type" "${launcher[@]}" "$@" >/dev/null
}
