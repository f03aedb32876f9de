#!/usr/bin/env bash
# Installs what is missing, builds, and runs Ovelsk on the bundled demo feed.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh build
exec build/app/ovelsk "$@"
