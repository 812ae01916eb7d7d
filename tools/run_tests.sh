#!/usr/bin/env bash
# Called by test.sh inside xvfb-run. Exits non-zero when any build or test fails.
set -uo pipefail
cd "$(dirname "$0")/.."
JOBS=$(nproc)
status=0

# Test builds favour compile time (the suite must fit a 2-core CI machine):
# -O1 keeps the optimiser's view of undefined behaviour, -g1 gives sanitizer
# reports their source lines without full debug information.
build() {  # build <dir> <sanitizer> <flags> [target]
  local dir=$1 san=$2 flags=$3 target=${4:-all}
  cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=None -DCMAKE_CXX_FLAGS="$flags" \
    -DQUELL_SANITIZE="$san" >/dev/null &&
  cmake --build "$dir" -j"$JOBS" --target "$target"
}

run_suite() {  # run_suite <dir> [ctest args...]
  local dir=$1; shift
  (cd "$dir" && ctest --output-on-failure -j"$JOBS" "$@") || status=1
}

export ASAN_OPTIONS=detect_leaks=0:abort_on_error=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# The software OpenGL driver's own mutex reports are silenced (tools/tsan.supp).
# The sanitizer splits its options at spaces and colons, which a checkout's
# path may hold: the path is quoted, with a quote character it does not hold.
suppressions="$PWD/tools/tsan.supp"
quote="'"
[[ $suppressions == *"'"* ]] && quote='"'
export TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1:suppressions=$quote$suppressions$quote"

echo "=== AddressSanitizer + UndefinedBehaviorSanitizer build ==="
# The playthrough drives the whole game for minutes: once, in the normal build.
# The benchmarks are built (and so compiled) by the normal build only.
if build build/asan address "-O1 -g1" test_programs; then
  run_suite build/asan -LE playthrough
else
  status=1
fi

echo "=== ThreadSanitizer build (threaded tests) ==="
if build build/tsan thread "-O1 -g1" thread_tests; then
  run_suite build/tsan -L threads
else
  status=1
fi

echo "=== Normal build ==="
if build build/test "" "-O1"; then run_suite build/test; else status=1; fi

exit $status
