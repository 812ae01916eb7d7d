#!/usr/bin/env bash
# Installs what is missing, builds, and starts the game from its run folder.
set -euo pipefail
cd "$(dirname "$0")"
source tools/install_deps.sh
quell_install_deps
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/release -j"$(nproc)" --target quellbrand
cd build/release/run
exec ./quellbrand
