#!/bin/sh
# Renders the IDE's main window in the states a user sees into PNG files for review (the
# editor states, then a running simulation with every object kind, a paused run with its
# variables, the console, the object grid at 200 % and the token view of -DEBUG):
#   scripts/screenshots.sh [OUTPUT_FOLDER]   (default build/screenshots)
# Two virtual ATmega32 boards on pseudo-terminals, slowed to 1200 baud, let the upload and
# update windows be caught at work.
set -eu
cd "$(dirname "$0")/.."
OUT="${1:-build/screenshots}"
cmake --build build --target zarvek-screenshots zarvek-cli
mkdir -p "$OUT"
LINES=$(mktemp -d)
build/src/cli/zarvek-cli board --profile atmega-32 --baud 1200 --link "$LINES/upload" >/dev/null 2>&1 &
UPLOAD_BOARD=$!
build/src/cli/zarvek-cli board --profile atmega-32 --baud 1200 --link "$LINES/update" >/dev/null 2>&1 &
UPDATE_BOARD=$!
trap 'kill $UPLOAD_BOARD $UPDATE_BOARD 2>/dev/null; wait 2>/dev/null; rm -rf "$LINES"' EXIT
for _ in $(seq 100); do
  [ -e "$LINES/upload" ] && [ -e "$LINES/update" ] && break
  sleep 0.1
done
if command -v xvfb-run >/dev/null 2>&1; then
  xvfb-run -a -s "-screen 0 1280x1024x24" build/src/ide/zarvek-screenshots "$OUT" examples/ampel.xml "$LINES/upload" "$LINES/update"
else
  QT_QPA_PLATFORM=offscreen build/src/ide/zarvek-screenshots "$OUT" examples/ampel.xml "$LINES/upload" "$LINES/update"
fi
