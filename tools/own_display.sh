#!/usr/bin/env bash
# Runs a command on an Xvfb server of its own, so that window tests run side
# by side: each sees only its own windows, its own focus and its own pointer.
# The server picks a free display number itself (-displayfd), which two
# starts at the same moment cannot both take.
set -u
number_file=$(mktemp)
# The server's output goes nowhere: a server left behind must not hold the
# test's output open for whoever reads it.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$number_file" >/dev/null 2>&1 &
server=$!
trap 'kill "$server" 2>/dev/null' EXIT
trap 'exit 143' TERM INT
deadline=$((SECONDS + 60))  # a generous bound for a busy machine
while (( SECONDS < deadline )); do
  [[ -s $number_file ]] && break
  kill -0 "$server" 2>/dev/null || break
  sleep 0.05
done
number=$(head -1 "$number_file")
rm -f "$number_file"
if [[ -z $number ]]; then
  echo "own_display.sh: Xvfb did not start" >&2
  exit 1
fi
export DISPLAY=":$number"
"$@"
