#pragma once

#include <QDateTime>

class QWidget;

namespace quillon {

struct AppState;

struct StartupCheckResult {
    bool checked = false;       // the quick check ran (the folder changed since the last exit)
    bool backupFailed = false;  // the daily backup could not be completed
    int problemsFound = 0;      // problems the quick check found
    bool repairOffered = false; // the user was asked whether to repair
    bool repaired = false;      // a repair ran and left the folder clean
};

// What the main window does once, at its first activation, to keep years of
// work safe: the daily backup (a failure is reported, the program goes on),
// the quick data check, and, when that finds problems, the offer to repair
// them after a fresh backup. The song store is reopened after a repair and
// the song count refreshed, so the caller reads the repaired folder.
//
// The quick check reads every title of the eleven tables through their
// indexes, about a second and a half with a hundred thousand songs (in a few
// megabytes: see IntegrityCheck). Every write of the program keeps the
// folder sound (one transaction each), so the check is skipped when the
// files are exactly as the last orderly exit left them after a sound start
// (see recordDataFolderAtExit); after a crash that followed a write, a
// restore or any change from outside it runs.
//
// With the catalogue on a server neither runs: both are for the data
// folder's own files.
StartupCheckResult runStartupChecks(AppState& state, QWidget* parent,
                                    const QDateTime& now = QDateTime::currentDateTime());

// At an orderly exit, once nothing writes any more: remembers the folder as
// sound when this session started sound, so the next start need not check
// it; otherwise forgets any earlier record. A session on a server leaves
// the record as it was.
void recordDataFolderAtExit(AppState& state);

} // namespace quillon
