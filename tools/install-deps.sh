#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the tests and the IDE need, when they are missing:
# the compiler and libraries, the virtual X server for screenshots, and what builds and checks the
# Debian package (dpkg-dev for the dependencies, lintian, the validators of the desktop files and
# the schema of GtkSourceView's language files).
set -euo pipefail
packages=(cmake ninja-build g++ pkg-config libgtest-dev libgmock-dev libbenchmark-dev
          qt6-base-dev libqscintilla2-qt6-dev libgl-dev nlohmann-json3-dev libpng-dev
          xvfb xauth imagemagick xdotool
          dpkg-dev lintian desktop-file-utils appstream libxml2-utils shared-mime-info
          libgtksourceview-4-common)
if [ "${1:-}" = "--fuzz" ]; then
  packages+=(clang libclang-rt-14-dev)
fi
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
