#!/usr/bin/env bash
# Installs what the Windows builds and their tests need on Debian 12, beside
# tools/setup-debian.sh: the MinGW-w64 cross compilers, Wine for 64-bit and (through the i386
# architecture) 32-bit programs, and the Debian source packages of FreeType, libsndfile, libpng
# and zlib, which the cross builds compile for each target. Only the test command calls it.
# Usage: tools/setup-windows-tests.sh SOURCE_FOLDER   (where the source packages are unpacked)
set -euo pipefail
sources="${1:?usage: setup-windows-tests.sh SOURCE_FOLDER}"
export DEBIAN_FRONTEND=noninteractive
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"

installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"; }

packages=(mingw-w64 wine wine64 dpkg-dev xz-utils)
missing=()
for package in "${packages[@]}"; do installed "$package" || missing+=("$package"); done
if [ ${#missing[@]} -gt 0 ]; then
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# wine32 comes from the i386 architecture. When the mirror's i386 index of the security suite
# fails apt's size check ("File has unexpected size ... Mirror sync in progress?"), apt drops
# that index, the i386 twins of the security-updated amd64 libraries vanish from its view and
# the resolver refuses wine32. The file the mirror serves is a valid, slightly older index:
# fetch it with apt's own downloader, put it where apt keeps its lists, and install without
# another update (which would drop it again).
if ! installed wine32:i386; then
  $SUDO dpkg --add-architecture i386
  $SUDO apt-get update -qq || true
  if ! $SUDO apt-get install -y -qq --no-install-recommends wine32:i386; then
    # The security suite's address as this machine's apt sources name it.
    read -r repo release < <(apt-get indextargets --format '$(REPO_URI) $(RELEASE)' |
      grep -- '-security$' | sort -u | head -n 1) ||
      { echo "setup-windows-tests: no security suite in the apt sources" >&2; exit 1; }
    suite="${repo%/}/dists/$release/main/binary-i386"
    # apt names a list file after its address without the scheme, slashes made underscores.
    list="/var/lib/apt/lists/$(echo "${suite#*://}" | tr / _)_Packages"
    tmp=$(mktemp -d)
    /usr/lib/apt/apt-helper download-file "$suite/Packages.xz" "$tmp/Packages.xz" >/dev/null &&
      xz -dc "$tmp/Packages.xz" | $SUDO tee "$list" >/dev/null ||
      { rm -rf "$tmp"; echo "setup-windows-tests: cannot read the i386 security index" >&2; exit 1; }
    rm -rf "$tmp"
    $SUDO apt-get install -y -qq --no-install-recommends wine32:i386
  fi
fi

# Source packages of the same versions as the installed Linux libraries, through a private apt
# configuration that adds deb-src entries: the system's sources lists stay as they are.
fetch_source() {
  local source_package="$1" binary_package="$2"
  local version
  version=$(dpkg-query -W -f='${Version}' "$binary_package:$(dpkg --print-architecture)")
  local stamp="$sources/$source_package-$version.done"
  [ -e "$stamp" ] && return 0
  local apt_dir="$sources/apt"
  mkdir -p "$apt_dir/lists/partial" "$apt_dir/sources.list.d"
  # The same archives and suites as the system's own sources, as deb-src entries.
  apt-get indextargets --format '$(REPO_URI) $(RELEASE)' | sort -u |
    sed 's/^\(.*\) \(.*\)$/deb-src \1 \2 main/' >"$apt_dir/sources.list"
  local options=(-o "Dir::Etc::sourcelist=$apt_dir/sources.list"
    -o "Dir::Etc::sourceparts=$apt_dir/sources.list.d"
    -o "Dir::State::Lists=$apt_dir/lists" -o "APT::Sandbox::User=root")
  apt-get "${options[@]}" update -qq
  rm -rf "$sources/$source_package"
  mkdir -p "$sources/$source_package"
  # A mirror may list a security update whose files it does not serve yet: then the same
  # package from each suite in turn (its newest version there).
  local candidate
  for candidate in "=$version" $(apt-get indextargets --format '$(RELEASE)' | sort -u |
    sed 's,^,/,'); do
    if (cd "$sources/$source_package" &&
      apt-get "${options[@]}" source -qq "$source_package$candidate"); then
      touch "$stamp"
      return 0
    fi
    rm -rf "${sources:?}/$source_package"/*
  done
  echo "setup-windows-tests: no source of $source_package could be fetched" >&2
  exit 1
}
mkdir -p "$sources"
fetch_source freetype libfreetype6
fetch_source libsndfile libsndfile1
fetch_source libpng1.6 libpng16-16
fetch_source zlib zlib1g
