#include "cases.h"

// Case groups for parts that are built in other branches. Each function is
// called by main() already; fill it in when its part is merged, using
// addPair()/runCase() from cases.h so the case lands in the table beside its
// baseline, and link quillon_gui in CMakeLists.txt for the window classes.

namespace quillon::bench {

// Start-up: from an empty process to the main window's first activation done
// with the last song reopened (real main window, offscreen), against an empty
// QMainWindow with a menu bar and a status bar. Target: <= 1.5x at 100000.
void registerStartupCases(BenchContext&) {}

// Load_Song with the grid filled, and one track write-back by leaving a box,
// against the raw reads and writes of the same rows (RawSongDb::songRow,
// trackRow, writeTracks). Target: kInteractiveTarget.
void registerLoadSongCases(BenchContext&) {}

// Building the media tree with 5,000 media (the generated folders hold them,
// songs spread over them through Bandnummer) and the media list text.
// Target: kInteractiveTarget for the tree.
void registerMediaCases(BenchContext&) {}

// Importing and exporting a 1 MB RTF file, and rendering all pages of a
// 100-page document in the print preview.
void registerDocumentCases(BenchContext&) {}

} // namespace quillon::bench
