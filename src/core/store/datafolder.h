#pragma once

#include "store/serveraddress.h"

#include <QString>

namespace quillon {

class Database;

// Where every file of the program lives. The data folder is "data" beside the
// program; tests and tools point it anywhere. The catalogue itself (songs,
// tracks, media, devices, notebook, styles) is in the folder's files unless
// a server is set: then it is on that server, and the folder keeps the
// settings, the backups and the lock.
class DataFolder final {
public:
    explicit DataFolder(const QString& dataDir, const QString& programDir = {});
    // The folder "data" beside the running executable.
    static DataFolder besideProgram();

    QString dir() const { return m_dir; }

    void setServer(const ServerAddress& server) { m_server = server; }
    bool onServer() const { return m_server.isValid(); }
    const ServerAddress& server() const { return m_server; }
    // Opens the connection for the table held in `file` of the folder, or
    // the server's connection (its layout checked) when the catalogue is there.
    bool openCatalogue(Database& db, const QString& file) const;
    QString programDir() const { return m_programDir; }

    QString songDb() const;
    QString trackDb(int slot) const;
    QString tapeDb() const;
    QString recdevDb() const;
    QString note1Db() const;
    QString stylesDat() const;
    QString stnumDat() const;
    QString deviceListTxt() const;
    QString mediaListTxt() const;
    QString backupDir() const;
    QString lyricsDir() const;
    QString helpProgram() const;

    // The file that holds a catalogue table of the folder ("xtrax", "rd3",
    // "Tape", "recdev", "note1"); empty for any other name.
    QString fileOfTable(const QString& table) const;

    // Every database file, song database first.
    QStringList databaseFiles() const;

private:
    QString m_dir;
    QString m_programDir;
    ServerAddress m_server;
};

} // namespace quillon
