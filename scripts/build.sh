#!/usr/bin/env bash
# Configures and builds one build folder: scripts/build.sh DIR [--target NAME]... [cmake options...]
# A Release build unless the options name another type; every target unless some are named.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=$1; shift
targets=()
options=()
while [ $# -gt 0 ]; do
  case $1 in
    --target) targets+=(--target "$2"); shift 2 ;;
    *) options+=("$1"); shift ;;
  esac
done
cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Release "${options[@]}" >/dev/null
cmake --build "$dir" -j "$(nproc)" "${targets[@]}"
