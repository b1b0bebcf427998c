#!/usr/bin/env bash
# Runs a test program on an X server of its own: Xvfb picks a free display number itself (-displayfd), so no
# lock-file scan races the X servers of other test runs, and the display is gone when the program ends.
set -euo pipefail
numberFile=$(mktemp)
trap 'rm -f "$numberFile"' EXIT
Xvfb -displayfd 3 -screen 0 1600x1000x24 -nolisten tcp 3>"$numberFile" 2>/dev/null &
server=$!
trap 'kill "$server" 2>/dev/null || true; wait "$server" 2>/dev/null || true; rm -f "$numberFile"' EXIT
for _ in $(seq 100); do
  [[ -s "$numberFile" ]] && break
  sleep 0.05
done
[[ -s "$numberFile" ]] || { echo "Xvfb did not start" >&2; exit 1; }
DISPLAY=":$(head -n 1 "$numberFile")" XAUTHORITY=/dev/null "$@"
