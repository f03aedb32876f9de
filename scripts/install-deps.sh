#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Ovelsk need,
# only those that are missing.
set -euo pipefail

# Qt's HTTP server finds its CMake package only with the WebSockets one beside it.
# The status page's browser test and screenshot run headless Chromium.
packages=(cmake g++ make pkg-config qt6-base-dev libxcb1-dev qt6-serialport-dev qt6-httpserver-dev qt6-websockets-dev
          libfontconfig-dev libgeographiclib-dev libgtest-dev libgmock-dev
          libbenchmark-dev direwolf xvfb xdotool imagemagick fonts-dejavu-core fonts-liberation2 python3
          groff-base desktop-file-utils dpkg-dev file lintian appstream chromium-headless-shell)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "Installing: ${missing[*]}" >&2
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >&2
