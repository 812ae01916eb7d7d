#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: a normal build, an
# AddressSanitizer+UndefinedBehaviorSanitizer build, and a ThreadSanitizer
# build of the threaded tests. Everything runs inside a virtual X server; each
# window test starts one of its own (tools/own_display.sh).
set -euo pipefail
cd "$(dirname "$0")"
source tools/install_deps.sh
quell_install_deps
exec xvfb-run -a -s "-screen 0 1024x768x24" \
  env SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy bash tools/run_tests.sh "$@"
