#!/usr/bin/env bash
# Runs a command with DISPLAY set to a private Xvfb server, which ends with it.
set -euo pipefail
fdfile=$(mktemp)
Xvfb -displayfd 3 -screen 0 2048x1024x24 -nolisten tcp 3>"$fdfile" 2>/dev/null &
server=$!
trap 'kill "$server" 2>/dev/null; rm -f "$fdfile"' EXIT
for _ in $(seq 200); do
    [[ -s $fdfile ]] && break
    kill -0 "$server" 2>/dev/null || { echo "Xvfb did not start" >&2; exit 1; }
    sleep 0.05
done
export DISPLAY=":$(head -n1 "$fdfile")"
"$@"
