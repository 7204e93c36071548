#pragma once

#include "store/datafolder.h"

#include <QDate>
#include <QDateTime>
#include <QStringList>
#include <sys/types.h>

namespace quillon {

struct BackupResult {
    bool skipped = false;  // the daily backup had been made already
    bool complete = false; // every data file was copied
    QString folder;        // the backup folder written (or found)
    QStringList copied;    // files copied
    QStringList failures;  // user-facing sentences, one per file not copied
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
// done, so an interrupted backup never looks like a finished one.
//
// Each backup folder carries a marker file saying that the program made it
// and whether every data file was copied (complete) or not. Only folders
// with the marker are counted, pruned or removed, and removing one unlinks
// only the files the program writes there: no link is ever followed, and
// whatever else lies in data/backup is left alone. A data/backup that is
// not a folder of its own (a link, a file) is reported, not used. Copies
// and folders get no more access than their originals and the data folder.
//
// A catalogue on a server is backed up the same way into the data folder's
// backup folder: a copy read in one snapshot of the server, written as the
// data files a folder holds (so a backup restores into a folder as well as,
// through quillon-migrate, onto a server), checked table by table against
// what was read. It is complete or not written at all. copied then lists
// the files written into the backup.
class Backup final {
public:
    static constexpr int kKeep = 14;
    static constexpr const char* kMarker = ".quillon-backup";

    explicit Backup(const DataFolder& folder) : m_folder(folder) {}

    // Once a day at start: nothing to do when today's folder exists.
    BackupResult daily(const QDate& today = QDate::currentDate());
    // Before a repair: always a fresh copy (a second one the same day gets
    // the time appended to its name).
    BackupResult beforeRepair(const QDateTime& now = QDateTime::currentDateTime());

    // Removes backups beyond the newest kKeep; returns the removed folders.
    // Incomplete backups go first; a complete one goes only to make room for
    // a newer complete one, and the newest complete backup always stays.
    QStringList prune();
    // Backup folders the program made, oldest first.
    QStringList backups() const;
    // True when the folder is a backup the program made and finished with
    // every data file copied.
    static bool isComplete(const QString& backupFolder);

    // One database file copied with the online backup API.
    static bool copyDatabase(const QString& from, const QString& to, QString* error);

private:
    BackupResult writeTo(const QString& name);
    // Fills the unfinished backup folder from the data folder's files, or
    // from the server.
    void copyFiles(const QString& partial, BackupResult& result) const;
    void copyServer(const QString& partial, mode_t folderMode, BackupResult& result) const;
    // The names of the files the program writes into a backup folder.
    QStringList ownFileNames() const;
    // Removes a backup folder the program made, unlinking only its own files;
    // false (and nothing removed) when anything else is in it.
    bool removeOwn(const QString& path) const;

    DataFolder m_folder;
};

} // namespace quillon
