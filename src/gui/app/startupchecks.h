#pragma once

#include <QDateTime>

class QWidget;

namespace quillon {

struct AppState;

struct StartupCheckResult {
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
StartupCheckResult runStartupChecks(AppState& state, QWidget* parent,
                                    const QDateTime& now = QDateTime::currentDateTime());

} // namespace quillon
