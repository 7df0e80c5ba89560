#!/bin/sh
# Renders the IDE's main window in the states a user sees into PNG files for review (the
# editor states, then a running simulation with every object kind, a paused run with its
# variables, the console and the object grid at 200 %):
#   scripts/screenshots.sh [OUTPUT_FOLDER]   (default build/screenshots)
set -eu
cd "$(dirname "$0")/.."
OUT="${1:-build/screenshots}"
cmake --build build --target zarvek-screenshots
if command -v xvfb-run >/dev/null 2>&1; then
  xvfb-run -a -s "-screen 0 1280x1024x24" build/src/ide/zarvek-screenshots "$OUT" examples/ampel.xml
else
  QT_QPA_PLATFORM=offscreen build/src/ide/zarvek-screenshots "$OUT" examples/ampel.xml
fi
