#!/usr/bin/env bash
# Installs everything the build, the tools and the tests need on a fresh Debian 12 machine.
# Run as root (or with sudo available). Safe to run again: apt skips what is installed.
set -euo pipefail

packages=(
  # build
  cmake g++ make pkg-config
  # libraries the plug-ins and plughost link
  libsndfile1-dev libfreetype-dev libpng-dev libx11-dev libxext-dev
  # the LV2 bundles: the interface headers; the lilv tools their tests and the demo page use
  lv2-dev lilv-utils
  # fonts embedded into the toolkit at build time
  fonts-liberation2 fonts-dejavu-core fonttools
  # the fuzz targets: clang with its libFuzzer, ASan and UBSan runtimes
  clang libclang-rt-14-dev
  # tests and benchmarks
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  locales xvfb xdotool x11-apps imagemagick
  # the file-selector tests: a private session bus and the stand-in portal built against libdbus
  dbus libdbus-1-dev
  # the Debian package and its checks; the demo page (spectrograms, page check)
  dpkg-dev lintian sox libsox-fmt-base libxml2-utils
  # a third-party plug-in package for the host-compatibility tests
  dpf-plugins-vst
)

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
    missing+=("$package")
done

SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
if [ ${#missing[@]} -gt 0 ]; then
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# A comma-decimal locale for the locale-independence tests.
if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf8$'; then
  $SUDO sed -i 's/^# *de_DE.UTF-8 UTF-8/de_DE.UTF-8 UTF-8/' /etc/locale.gen
  grep -q '^de_DE.UTF-8 UTF-8' /etc/locale.gen || echo 'de_DE.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
  $SUDO locale-gen >/dev/null
fi
