#!/usr/bin/env bash
# Runs Ovelsk in a virtual X display and saves a picture of its window:
#   scripts/screenshot.sh [OUTPUT.png] [SECONDS]
# SECONDS (default 20) is how long the program runs before the picture is
# taken, so the demo feed has delivered some beacons. Builds first if needed.
set -euo pipefail
cd "$(dirname "$0")/.."
out=$(realpath -m "${1:-docs/screenshot.png}")
seconds=${2:-20}
[ -x build/app/ovelsk ] || scripts/build.sh build
mkdir -p "$(dirname "$out")"

# A fresh host set-up of its own, so the picture shows the bundled demo whatever
# this machine's own host settings say, and they are left alone.
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
export XDG_CONFIG_HOME=$scratch/config XDG_DATA_HOME=$scratch/data

export OUT=$out SECONDS_TO_RUN=$seconds
xvfb-run -a -s "-screen 0 1024x768x24 -dpi 96" bash -c '
  set -euo pipefail
  build/app/ovelsk >/dev/null &
  pid=$!
  sleep "$SECONDS_TO_RUN"
  # The window is found by its caption; it may take a moment to be mapped.
  for _ in $(seq 50); do
    import -window Ovelsk "$OUT" 2>/dev/null && break
    sleep 0.2
  done
  kill -TERM "$pid"
  wait "$pid"
'
[ -s "$out" ] || { echo "no picture taken" >&2; exit 1; }
echo "$out"
