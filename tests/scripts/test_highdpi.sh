#!/usr/bin/env bash
# On a screen at twice the density the main window's layout still holds (no
# box overlaps another) and the icon is drawn at the screen's own size.
set -euo pipefail
BIN="$1"
export QT_QPA_PLATFORM=offscreen QT_SCALE_FACTOR=2 QT_LOGGING_RULES="*.debug=false;*.warning=false"
# The layout itself: every box, label and panel in its place, none over another.
"$BIN/tst_mainlayout" snapsToMinimumSize noOverlapInTwips hidingSidebarWidensByAThird \
  detachingPanelMakesBoxesTaller sidebarParkedBehindGrid deviceCellsInTwoRowsOfFive \
  windowAtMinimumAndFullHd sidebarToggleWidensBoxesOnScreen
"$BIN/tst_startupchecks" appIconIsSharpAtTheScreensDensity
