#!/usr/bin/env bash
# Installs what building, running and testing Kavoro needs (sox, exiv2 and imagemagick make the
# tests' media files), when it is missing (Debian, as root).
# With the argument "fuzz" also clang 16 (the first clang for all of the C++20 the code uses)
# and its libFuzzer and sanitizer runtimes.
set -euo pipefail

packages=(cmake ninja-build g++ pkgconf qt6-base-dev qt6-qpa-plugins qt6-translations-l10n
          libgtest-dev clang-format fonts-dejavu-core libxlsxwriter-dev libfreexl-dev libicu-dev libsqlite3-dev unzip chromium
          libqt6svg6 desktop-file-utils appstream dpkg-dev file poppler-utils fonts-droid-fallback
          libtag1-dev libexiv2-dev sox exiv2 imagemagick)
if [ "${1:-}" = fuzz ]; then packages+=(clang-16 libclang-rt-16-dev); fi
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
