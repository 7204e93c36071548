#pragma once

#include "store/datafolder.h"

#include <QDate>
#include <QDateTime>
#include <QStringList>

namespace quillon {

struct BackupResult {
    bool skipped = false; // the daily backup had been made already
    QString folder;       // the backup folder written (or found)
    QStringList copied;   // files copied
    QStringList failures; // user-facing sentences, one per file not copied
    bool ok() const { return failures.isEmpty(); }
    // One message for the user; empty when everything was copied.
    QString message() const;
    // The failures that concern none of the given files (files already known
    // to be missing or damaged cannot be copied and need not block a repair).
    QStringList failuresExcept(const QStringList& knownBadFiles) const;
};

// Consistent copies of the data folder under data/backup/YYYY-MM-DD. Every
// database file is copied with SQLite's online backup, so a copy is never torn
// even while another connection is writing; the style files are copied as
// they are. A backup is first written beside its final name and renamed when
// complete, so an interrupted backup never looks like a finished one.
class Backup final {
public:
    static constexpr int kKeep = 14;

    explicit Backup(const DataFolder& folder) : m_folder(folder) {}

    // Once a day at start: nothing to do when today's folder exists.
    BackupResult daily(const QDate& today = QDate::currentDate());
    // Before a repair: always a fresh copy (a second one the same day gets
    // the time appended to its name).
    BackupResult beforeRepair(const QDateTime& now = QDateTime::currentDateTime());

    // Removes all but the newest kKeep backups; returns the removed folders.
    QStringList prune();
    // Backup folders, oldest first.
    QStringList backups() const;

    // One database file copied with the online backup API.
    static bool copyDatabase(const QString& from, const QString& to, QString* error);

private:
    BackupResult writeTo(const QString& name);

    DataFolder m_folder;
};

} // namespace quillon
