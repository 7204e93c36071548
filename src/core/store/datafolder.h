#pragma once

#include <QString>

namespace quillon {

// Where every file of the program lives. The data folder is "data" beside the
// program; tests and tools point it anywhere.
class DataFolder final {
public:
    explicit DataFolder(const QString& dataDir, const QString& programDir = {});
    // The folder "data" beside the running executable.
    static DataFolder besideProgram();

    QString dir() const { return m_dir; }
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

    // Every database file, song database first.
    QStringList databaseFiles() const;

private:
    QString m_dir;
    QString m_programDir;
};

} // namespace quillon
