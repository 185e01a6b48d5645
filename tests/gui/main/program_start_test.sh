#!/usr/bin/env bash
# Starts the program under a virtual X server on a project file and waits
# for its main window to carry the expected caption.
# Usage: program_start_test.sh PROGRAM PROJECT CAPTION
set -u
program=$1 project=$2 caption=$3
if ! command -v xvfb-run >/dev/null || ! command -v xwininfo >/dev/null; then
  echo "xvfb-run or xwininfo missing: skipped"
  exit 77
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$project" "$work/"
# The tests run with the offscreen platform; this one needs the real X one.
export QT_QPA_PLATFORM=xcb
export CAPTION=$caption PROGRAM=$program PROJECT="$work/$(basename "$project")"
xvfb-run -a bash -c '
  "$PROGRAM" "$PROJECT" &
  pid=$!
  for _ in $(seq 1 100); do
    if xwininfo -root -tree | grep -qF "\"$CAPTION\""; then
      kill "$pid"; wait "$pid" 2>/dev/null
      echo "window: $CAPTION"
      exit 0
    fi
    kill -0 "$pid" 2>/dev/null || { echo "the program ended early"; exit 1; }
    sleep 0.2
  done
  echo "no window captioned: $CAPTION"
  xwininfo -root -tree | grep -F "RAMVEX" || true
  kill "$pid"
  exit 1
'
