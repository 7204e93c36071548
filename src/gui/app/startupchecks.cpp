#include "app/startupchecks.h"

#include "common/appstate.h"
#include "common/logging.h"
#include "common/prompter.h"
#include "maintenance/backup.h"
#include "maintenance/integritycheck.h"
#include "maintenance/integrityrepair.h"
#include "songs/songstore.h"
#include "store/folderstamp.h"
#include "store/settings.h"

#include <QApplication>

namespace quillon {

namespace {

const QString kTitle = QStringLiteral("Data check");

QString asMessageLines(QString text)
{
    // Message boxes break lines with CR.
    return text.replace('\n', '\r');
}

// Runs the repair under a wait cursor, backed up first; false when the
// backup failed and nothing was touched.
bool repair(AppState& state, QWidget* parent, const IntegrityReport& report, const QDateTime& now,
            RepairResult* result)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const BackupResult backup = Backup(state.data).beforeRepair(now);
    const QStringList blocking = backup.failuresExcept(report.unusableFiles());
    if (!blocking.isEmpty()) {
        QApplication::restoreOverrideCursor();
        state.prompter.critical(parent,
                                "The backup before the repair failed, so nothing was repaired.\r" +
                                    blocking.join("\r"),
                                kTitle);
        return false;
    }
    state.songs.close();
    *result = IntegrityRepair(state.data, now.date()).run();
    state.songs.open();
    state.songCount = state.songs.isOpen() ? state.songs.count() : 0;
    QApplication::restoreOverrideCursor();
    return true;
}

} // namespace

StartupCheckResult runStartupChecks(AppState& state, QWidget* parent, const QDateTime& now)
{
    StartupCheckResult outcome;
    // A catalogue on a server is backed up too: a consistent copy of it
    // into this computer's data folder.
    const BackupResult daily = Backup(state.data).daily(now.date());
    if (!daily.ok()) {
        outcome.backupFailed = true;
        state.prompter.critical(parent, daily.message(), "Backup");
    }
    // The server keeps its catalogue whole by its transactions, and other
    // rooms are at work on it: checking and repairing it is for whoever
    // looks after it (quillon-check), not for every start in every room.
    if (state.data.onServer()) {
        qCDebug(lcApp) << "catalogue on a server: no check at start";
        return outcome;
    }

    const QString stamp = folderStamp(state.data);
    // The stamp stays stored through the session: any write changes the
    // files and so their stamp, so a session that ends in a crash after
    // writing is checked at the next start, and one that wrote nothing left
    // the folder as it was. Nothing to write, then, at every start.
    if (state.settings.dataCheckStamp() == stamp) {
        qCDebug(lcApp) << "data folder as left at the last exit; quick check skipped";
        state.dataKnownSound = true;
        return outcome;
    }

    outcome.checked = true;
    const IntegrityReport report = IntegrityCheck(state.data).quick();
    outcome.problemsFound = int(report.problems.size());
    if (report.clean()) {
        state.dataKnownSound = true;
        return outcome;
    }
    qCWarning(lcApp) << "start-up data check:" << report.problems.size() << "problems";

    const QString found = QString("The data check found %1 problem(s) in the data folder:\r\r%2")
                              .arg(report.problems.size())
                              .arg(asMessageLines(report.summary(12)));
    if (report.repairableCount() == 0) {
        state.prompter.critical(parent,
                                found + "\r\rThese cannot be repaired here. Restore the files "
                                        "named from a backup in data/backup.",
                                kTitle);
        return outcome;
    }
    outcome.repairOffered = true;
    if (!state.prompter.askYesNo(parent,
                                 found + "\r\rRepair now? A backup is made first, and no text "
                                         "is deleted: what has lost its song is kept under a "
                                         "\"Recovered\" title.",
                                 kTitle))
        return outcome;

    RepairResult result;
    if (!repair(state, parent, report, now, &result))
        return outcome;
    const IntegrityReport after = IntegrityCheck(state.data).quick();
    outcome.repaired = result.ok() && after.clean();
    state.dataKnownSound = outcome.repaired;
    QString text = "Repaired:\r" + result.actions.join("\r");
    if (!result.ok())
        text += "\r\rNot repaired:\r" + result.failures.join("\r");
    if (!after.clean())
        text += "\r\rStill found:\r" + asMessageLines(after.summary(8));
    if (outcome.repaired)
        state.prompter.information(parent, text, kTitle);
    else
        state.prompter.critical(parent, text, kTitle);
    return outcome;
}

void recordDataFolderAtExit(AppState& state)
{
    // A session on a server left the folder's files as the last one did.
    if (state.data.onServer())
        return;
    if (state.dataKnownSound)
        state.settings.setDataCheckStamp(folderStamp(state.data));
    else
        state.settings.remove(QStringLiteral("DataCheckStamp"));
    state.settings.sync();
}

} // namespace quillon
