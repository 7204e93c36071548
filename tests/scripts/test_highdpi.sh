#!/usr/bin/env bash
# On a screen at twice the density the main window's layout still holds (no
# box overlaps another) and the icon is drawn at the screen's own size.
set -euo pipefail
BIN="$1"
export QT_QPA_PLATFORM=offscreen QT_SCALE_FACTOR=2 QT_LOGGING_RULES="*.debug=false;*.warning=false"
"$BIN/tst_mainlayout"
"$BIN/tst_startupchecks" appIconIsSharpAtTheScreensDensity
