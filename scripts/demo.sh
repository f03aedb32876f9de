#!/usr/bin/env bash
# Installs what is missing, builds, and runs Ovelsk on the bundled demo feed.
set -euo pipefail
cd "$(dirname "$0")/.."
# Only the program's status lines go to standard output; everything else to standard error.
scripts/install-deps.sh >&2
# Only the program: the tests and benchmarks are for scripts/test.sh.
scripts/build.sh build --target ovelsk >&2
exec build/app/ovelsk "$@"
