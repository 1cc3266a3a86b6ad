#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite through CTest.
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup.sh
cd build
# Twice as many tests as cores: the end-to-end tests spend most of their time waiting on
# the real program's timers under their own X servers.
ctest --output-on-failure -j"$(( $(nproc) * 2 ))" "$@"
