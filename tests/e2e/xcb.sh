#!/usr/bin/env bash
# Runs a test program on a private X server with Qt's X11 platform, where
# the desktop's own key bindings apply (Ctrl+U erases a line there).
# Usage: xcb.sh PROGRAM [ARGUMENTS...]
set -euo pipefail
WORK=$(mktemp -d /tmp/velmorand-xcb.XXXXXX)
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$WORK/display" 2>"$WORK/xvfb.err" &
server=$!
trap 'kill "$server" 2>/dev/null || true; wait 2>/dev/null || true; rm -rf "$WORK"' EXIT
for _ in $(seq 100); do [ -s "$WORK/display" ] && break; sleep 0.1; done
[ -s "$WORK/display" ] || { echo "Xvfb did not start" >&2; exit 1; }
DISPLAY=":$(head -n 1 "$WORK/display")" QT_QPA_PLATFORM=xcb "$@"
