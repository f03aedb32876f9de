#!/usr/bin/env bash
# How often an idle Ovelsk wakes up: the program runs on a quiet radio channel
# (a KISS TNC that accepts the connection and says nothing) with its status page
# on and nobody looking, and the context switches of all its threads are counted
# over a minute (/proc/PID/task/*/status), once headless and once with its window
# on a virtual X display (Xvfb), whose radar redraws on a 70 ms timer.
#   bench/idle_wakeups.sh [BUILD] [SECONDS]      (BUILD defaults to build, SECONDS to 60)
set -euo pipefail
cd "$(dirname "$0")/.."
program=$PWD/${1:-build}/app/ovelsk
seconds=${2:-60}
home=$(mktemp -d)
pids=()
trap 'kill "${pids[@]}" 2>/dev/null || true; rm -rf "$home"' EXIT

# A TNC on a quiet channel: takes the connection and sends nothing.
free_port() { python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])'; }
port=$(free_port)
python3 -c "
import socket, time
s = socket.socket(); s.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
s.bind(('127.0.0.1', $port)); s.listen()
peers = []
while True: peers.append(s.accept()[0])" &
pids+=($!)

mkdir -p "$home/host"
cat >"$home/settings.ini" <<SETTINGS
[UI-View32]
Program Folder=$home/host/
Latitude=40.0
Longitude=-105.0
Feeds=kiss:127.0.0.1:$port
Status Page=$(free_port)
SETTINGS

switches() {  # voluntary and involuntary context switches of every thread of $1
  cat /proc/"$1"/task/*/status | awk '/ctxt_switches/ {n += $2} END {print n}'
}
ticks() {  # user and system CPU time of $1, in clock ticks
  awk '{print $14 + $15}' /proc/"$1"/stat
}

measure() {  # $1: what; the rest: how to start it
  local what=$1; shift
  env HOME="$home" XDG_CONFIG_HOME="$home/config" XDG_DATA_HOME="$home/data" "$@" \
    --settings "$home/settings.ini" >/dev/null 2>&1 &
  local pid=$!
  sleep 5  # start-up done, the feed connected
  local before after cpuBefore cpuAfter
  before=$(switches "$pid"); cpuBefore=$(ticks "$pid")
  sleep "$seconds"
  after=$(switches "$pid"); cpuAfter=$(ticks "$pid")
  kill "$pid"; wait "$pid" || true
  awk -v what="$what" -v n=$((after - before)) -v s="$seconds" -v t=$((cpuAfter - cpuBefore)) -v hz="$(getconf CLK_TCK)" \
    'BEGIN {printf "%-26s %6d wake-ups in %d s, %.2f a second; %.3f%% of a core\n", what, n, s, n / s, 100 * t / hz / s}'
}

measure "headless" "$program" --headless
if command -v Xvfb >/dev/null; then
  Xvfb :93 -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  pids+=($!)
  sleep 1
  measure "window (Xvfb), radar off" env DISPLAY=:93 "$program"
fi
