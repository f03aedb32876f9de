#!/usr/bin/env bash
# Runs Ovelsk without a screen on the bundled demo with the status page on, and
# saves a picture of the page as headless Chromium renders it:
#   scripts/status-screenshot.sh [OUTPUT.png] [SECONDS] [WIDTH,HEIGHT]
# SECONDS (default 40) is how long the demo fills the list first; the window is
# 1280,2200 pixels unless given. A TNC on a serial port that is not plugged in
# shows what a failing feed looks like. Builds first if needed; needs
# chromium-headless-shell (scripts/install-deps.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
out=$(realpath -m "${1:-docs/status-page.png}")
seconds=${2:-40}
window=${3:-1280,2200}
[ -x build/app/ovelsk ] || scripts/build.sh build >&2
browser=$(command -v chromium-headless-shell || command -v chromium || true)
[ -n "$browser" ] || { echo "no headless Chromium: apt install chromium-headless-shell" >&2; exit 1; }
mkdir -p "$(dirname "$out")"

# A fresh host set-up of its own, so the picture shows the bundled demo whatever
# this machine's own host settings say, and they are left alone.
scratch=$(mktemp -d)
trap 'kill -TERM "${pid:-}" 2>/dev/null || true; rm -rf "$scratch"' EXIT
export XDG_CONFIG_HOME=$scratch/config XDG_DATA_HOME=$scratch/data
port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')

# The first start writes the demo's settings; the failing feed and the page are
# then added.
build/app/ovelsk --headless >/dev/null 2>&1 &
pid=$!
settings="$XDG_CONFIG_HOME/Peak Systems/UI-View32.ini"
for _ in $(seq 50); do [ -f "$settings" ] && break; sleep 0.2; done
kill -TERM "$pid"; wait "$pid" || true
sed -i 's|^Feeds=.*|&, kiss-serial:/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A10K3XYZ-if00-port0:9600|' "$settings"
echo "Status Page=127.0.0.1:$port" >>"$settings"

build/app/ovelsk --headless >/dev/null 2>&1 &
pid=$!
sleep "$seconds"
"$browser" --headless --no-sandbox --disable-gpu --hide-scrollbars --virtual-time-budget=5000 \
  --window-size="$window" --screenshot="$out" "http://127.0.0.1:$port/" 2>/dev/null
echo "$out"
