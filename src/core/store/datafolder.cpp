#include "store/datafolder.h"

#include "store/database.h"
#include "store/schema.h"
#include "store/serverschema.h"

#include <QCoreApplication>
#include <QDir>
#include <QStringList>

namespace quillon {

DataFolder::DataFolder(const QString& dataDir, const QString& programDir)
    : m_dir(QDir::cleanPath(dataDir)),
      m_programDir(programDir.isEmpty() ? QDir::cleanPath(m_dir + "/..")
                                        : QDir::cleanPath(programDir))
{
}

DataFolder DataFolder::besideProgram()
{
    const QString program = QCoreApplication::applicationDirPath();
    return DataFolder(program + "/data", program);
}

QString DataFolder::songDb() const
{
    return m_dir + "/quillon.mdb";
}
QString DataFolder::trackDb(int slot) const
{
    return m_dir + QString("/trax%1.mdb").arg(slot);
}
QString DataFolder::tapeDb() const
{
    return m_dir + "/tape.mdb";
}
QString DataFolder::recdevDb() const
{
    return m_dir + "/recdev.mdb";
}
QString DataFolder::note1Db() const
{
    return m_dir + "/note1.mdb";
}
QString DataFolder::stylesDat() const
{
    return m_dir + "/styles.dat";
}
QString DataFolder::stnumDat() const
{
    return m_dir + "/stnum.dat";
}
QString DataFolder::deviceListTxt() const
{
    return m_dir + "/recordingdevices.txt";
}
QString DataFolder::mediaListTxt() const
{
    return m_dir + "/tapes-hd-cd.txt";
}
QString DataFolder::backupDir() const
{
    return m_dir + "/backup";
}
QString DataFolder::lyricsDir() const
{
    return m_programDir + "/lyrics";
}
QString DataFolder::helpProgram() const
{
    return m_programDir + "/Help-Quillon05";
}

QString DataFolder::fileOfTable(const QString& table) const
{
    if (table == QLatin1String("xtrax"))
        return songDb();
    for (int n = 1; n <= schema::kTrackSlots; ++n)
        if (table == schema::trackTable(n))
            return trackDb(n);
    if (table == QLatin1String("Tape"))
        return tapeDb();
    if (table == QLatin1String("recdev"))
        return recdevDb();
    if (table == QLatin1String("note1"))
        return note1Db();
    return {};
}

bool DataFolder::openCatalogue(Database& db, const QString& file) const
{
    return onServer() ? serverschema::open(db, m_server) : db.open(file);
}

QStringList DataFolder::databaseFiles() const
{
    QStringList files{songDb()};
    for (int n = 1; n <= schema::kTrackSlots; ++n)
        files << trackDb(n);
    files << tapeDb() << recdevDb() << note1Db();
    return files;
}

} // namespace quillon
