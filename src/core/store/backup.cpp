#include "store/backup.h"

#include "store/database.h"
#include "store/logging.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <sqlite3.h>

namespace quillon {

namespace {

const QRegularExpression& backupName()
{
    static const QRegularExpression re("^\\d{4}-\\d{2}-\\d{2}(-\\d{6})?$");
    return re;
}

// Closes a raw SQLite handle however the copy ends.
struct Handle {
    sqlite3* db = nullptr;
    ~Handle() { sqlite3_close(db); }
};

} // namespace

QString BackupResult::message() const
{
    if (failures.isEmpty())
        return {};
    return QString("The backup into \"%1\" is incomplete.\r%2\r\rYour data is untouched; "
                   "make sure the data folder can be written and has free space.")
        .arg(folder, failures.join("\r"));
}

QStringList BackupResult::failuresExcept(const QStringList& knownBadFiles) const
{
    QStringList remaining;
    for (const QString& failure : failures) {
        bool known = false;
        for (const QString& file : knownBadFiles)
            known = known || failure.contains('"' + QFileInfo(file).fileName() + '"');
        if (!known)
            remaining << failure;
    }
    return remaining;
}

bool Backup::copyDatabase(const QString& from, const QString& to, QString* error)
{
    auto failWith = [&](const QString& technical) {
        if (error)
            *error = describeStoreError(from, technical);
        QFile::remove(to);
        return false;
    };
    if (!QFileInfo::exists(from))
        return failWith("file missing");
    Handle src, dst;
    const QByteArray fromPath = QFile::encodeName(from), toPath = QFile::encodeName(to);
    // Read-write where possible: after a crash the file may have a hot journal,
    // which only a connection that can write rolls back (a read-only one
    // would refuse the file). A read-only folder still gets a read-only copy.
    if (sqlite3_open_v2(fromPath.constData(), &src.db, SQLITE_OPEN_READWRITE, nullptr) !=
        SQLITE_OK) {
        sqlite3_close(src.db);
        src.db = nullptr;
        if (sqlite3_open_v2(fromPath.constData(), &src.db, SQLITE_OPEN_READONLY, nullptr) !=
            SQLITE_OK)
            return failWith(QString::fromUtf8(sqlite3_errmsg(src.db)));
    }
    // A writer holding the file briefly must not fail the backup.
    sqlite3_busy_timeout(src.db, 3000);
    if (sqlite3_open_v2(toPath.constData(), &dst.db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                        nullptr) != SQLITE_OK)
        return failWith(QString::fromUtf8(sqlite3_errmsg(dst.db)) + " (" + to + ")");
    sqlite3_backup* job = sqlite3_backup_init(dst.db, "main", src.db, "main");
    if (!job)
        return failWith(QString::fromUtf8(sqlite3_errmsg(dst.db)));
    const int step = sqlite3_backup_step(job, -1);
    sqlite3_backup_finish(job);
    if (step != SQLITE_DONE) {
        const int code = sqlite3_errcode(dst.db) != SQLITE_OK ? sqlite3_errcode(dst.db) : step;
        return failWith(QString::fromUtf8(sqlite3_errstr(code)));
    }
    // The copy must itself be a readable database, or it is no backup at all.
    char* message = nullptr;
    QString check;
    sqlite3_exec(
        dst.db, "PRAGMA quick_check",
        [](void* out, int, char** values, char**) {
            *static_cast<QString*>(out) += QString::fromUtf8(values[0] ? values[0] : "");
            return 0;
        },
        &check, &message);
    sqlite3_free(message);
    if (check != "ok")
        return failWith(check.isEmpty() ? QString("database disk image is malformed") : check);
    return true;
}

BackupResult Backup::writeTo(const QString& name)
{
    BackupResult result;
    const QDir root(m_folder.backupDir());
    result.folder = root.filePath(name);
    const QString partial = result.folder + ".partial";
    QDir(partial).removeRecursively();
    if (!QDir().mkpath(partial)) {
        result.failures << describeStoreError(m_folder.backupDir(),
                                              "unable to create the backup folder (read-only?)");
        return result;
    }
    for (const QString& file : m_folder.databaseFiles()) {
        const QString target = QDir(partial).filePath(QFileInfo(file).fileName());
        QString error;
        if (copyDatabase(file, target, &error))
            result.copied << file;
        else
            result.failures << error;
    }
    for (const QString& file : {m_folder.stnumDat(), m_folder.stylesDat()}) {
        if (!QFileInfo::exists(file))
            continue; // no styles yet: nothing to keep
        const QString target = QDir(partial).filePath(QFileInfo(file).fileName());
        if (QFile::copy(file, target))
            result.copied << file;
        else
            result.failures << describeStoreError(file, "unable to copy the file");
    }
    if (result.copied.isEmpty()) {
        QDir(partial).removeRecursively();
        if (result.failures.isEmpty())
            result.failures << describeStoreError(m_folder.dir(), "no data file found");
        return result;
    }
    QDir(result.folder).removeRecursively();
    if (!QDir().rename(partial, result.folder)) {
        result.failures << describeStoreError(result.folder, "unable to rename the backup folder");
        return result;
    }
    prune();
    qCInfo(lcStore) << "backup written" << result.folder << result.failures.size() << "failures";
    return result;
}

BackupResult Backup::daily(const QDate& today)
{
    const QString name = today.toString("yyyy-MM-dd");
    if (QFileInfo(QDir(m_folder.backupDir()).filePath(name)).isDir()) {
        BackupResult result;
        result.skipped = true;
        result.folder = QDir(m_folder.backupDir()).filePath(name);
        return result;
    }
    return writeTo(name);
}

BackupResult Backup::beforeRepair(const QDateTime& now)
{
    QString name = now.date().toString("yyyy-MM-dd");
    if (QFileInfo::exists(QDir(m_folder.backupDir()).filePath(name)))
        name += now.time().toString("-HHmmss");
    return writeTo(name);
}

QStringList Backup::backups() const
{
    QStringList names;
    const QDir root(m_folder.backupDir());
    for (const QString& entry : root.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name))
        if (backupName().match(entry).hasMatch())
            names << root.filePath(entry);
    return names;
}

QStringList Backup::prune()
{
    QStringList all = backups();
    QStringList removed;
    while (all.size() > kKeep) {
        const QString oldest = all.takeFirst();
        if (QDir(oldest).removeRecursively())
            removed << oldest;
        else
            qCWarning(lcStore) << "could not remove old backup" << oldest;
    }
    return removed;
}

} // namespace quillon
