#include "store/datafolderchoice.h"

#include "store/appidentity.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace quillon {

namespace {

// Creates the folder when it is missing; says what is wrong when it cannot
// be made or written, empty when it is usable.
QString prepare(const QString& dir, FolderPreparation preparation)
{
    const QFileInfo info(dir);
    if (info.exists() && !info.isDir())
        return QStringLiteral("\"%1\" is a file, not a folder.").arg(dir);
    if (preparation == FolderPreparation::Look)
        return info.exists() && !info.isWritable()
                   ? QStringLiteral("The folder \"%1\" cannot be written.").arg(dir)
                   : QString();
    if (!info.exists() && !QDir().mkpath(dir))
        return QStringLiteral("The folder \"%1\" cannot be created.").arg(dir);
    if (!QFileInfo(dir).isWritable())
        return QStringLiteral("The folder \"%1\" cannot be written.").arg(dir);
    return {};
}

DataFolderChoice choice(const QString& dir, DataFolderChoice::Origin origin)
{
    DataFolderChoice c;
    c.dir = QDir::cleanPath(QDir(dir).absolutePath());
    c.origin = origin;
    return c;
}

} // namespace

QString DataFolderChoice::originText() const
{
    switch (origin) {
    case Origin::BesideProgram:
        return QStringLiteral("beside the program");
    case Origin::PerUser:
        return QStringLiteral("per-user data location");
    case Origin::CommandLine:
        return QStringLiteral("given with --data");
    }
    return {};
}

bool isInstalledProgram(const QString& programDir)
{
    const QDir bin(programDir);
    if (bin.dirName() != QLatin1String("bin"))
        return false;
    return QFileInfo::exists(bin.filePath(QStringLiteral("../share/applications/") +
                                          QLatin1String(kAppId) + QStringLiteral(".desktop")));
}

DataFolderChoice chooseDataFolder(const QString& programDir, const QString& givenDir,
                                  const QString& perUserDir, FolderPreparation preparation)
{
    using Origin = DataFolderChoice::Origin;
    if (!givenDir.isEmpty()) {
        DataFolderChoice c = choice(givenDir, Origin::CommandLine);
        c.error = prepare(c.dir, preparation);
        return c;
    }
    if (!isInstalledProgram(programDir)) {
        DataFolderChoice c = choice(programDir + QStringLiteral("/data"), Origin::BesideProgram);
        const QString problem = prepare(c.dir, preparation);
        if (problem.isEmpty())
            return c;
        // A portable copy on a read-only medium still starts, on the user's
        // own folder, and says so rather than failing.
        DataFolderChoice fallback = choice(perUserDir, Origin::PerUser);
        fallback.error = prepare(fallback.dir, preparation);
        fallback.note =
            problem + QStringLiteral(" The data is kept in \"%1\" instead.").arg(fallback.dir);
        return fallback;
    }
    DataFolderChoice c = choice(perUserDir, Origin::PerUser);
    c.error = prepare(c.dir, preparation);
    return c;
}

DataFolderChoice chooseDataFolder(const QString& programDir, const QString& givenDir,
                                  FolderPreparation preparation)
{
    return chooseDataFolder(programDir, givenDir,
                            QStandardPaths::writableLocation(QStandardPaths::AppDataLocation),
                            preparation);
}

} // namespace quillon
