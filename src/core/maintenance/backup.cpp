#include "maintenance/backup.h"

#include "common/logging.h"
#include "maintenance/cataloguecopy.h"
#include "store/database.h"
#include "store/plainfile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quillon {

namespace {

const QRegularExpression& backupName()
{
    static const QRegularExpression re("^\\d{4}-\\d{2}-\\d{2}(-\\d{6})?$");
    return re;
}

// The marker's first line; anything else in a file of that name is not ours.
constexpr char kCompleteLine[] = "quillon backup: complete";
constexpr char kIncompleteLine[] = "quillon backup: incomplete";

QByteArray markerStatus(const QString& folder)
{
    QByteArray marker;
    if (!plainfile::read(folder + '/' + Backup::kMarker, &marker))
        return {};
    return marker.left(marker.indexOf('\n'));
}

// Closes a raw SQLite handle however the copy ends.
struct Handle {
    sqlite3* db = nullptr;
    ~Handle() { sqlite3_close(db); }
};

QString errnoText()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

// Permission bits of a path (following a link: the data folder itself may
// be one), or fallback when it cannot be read.
mode_t modeOf(const QString& path, mode_t fallback)
{
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return fallback;
    return info.st_mode & 0777;
}

bool isOwnFolder(const QString& path)
{
    if (entryType(path) != EntryType::Directory)
        return false;
    const QByteArray status = markerStatus(path);
    return status == kCompleteLine || status == kIncompleteLine;
}

// A new file that did not exist before, with at most the given access.
bool createExclusive(const QString& path, mode_t mode, const QByteArray& data, QString* error)
{
    const int fd = ::open(QFile::encodeName(path).constData(),
                          O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
    if (fd < 0) {
        *error = errnoText();
        return false;
    }
    qsizetype done = 0;
    bool ok = true;
    while (ok && done < data.size()) {
        const ssize_t n = ::write(fd, data.constData() + done, size_t(data.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        ok = n > 0;
        done += ok ? n : 0;
    }
    ok = ok && ::fsync(fd) == 0;
    if (!ok)
        *error = errnoText();
    ::close(fd);
    return ok;
}

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
        if (entryType(to) == EntryType::Regular)
            QFile::remove(to);
        return false;
    };
    // Checked before SQLite opens it: a pipe would block the open for ever.
    const EntryType type = entryType(from);
    if (type == EntryType::Missing)
        return failWith("file missing");
    if (type != EntryType::Regular)
        return failWith("not a regular file: the entry is " + entryTypeName(type));
    const mode_t mode = modeOf(from, 0600) & 0666;
    // The copy is made owner-only and given the original's bits when done,
    // so it never has more access than the original, not even for a moment.
    QString createError;
    if (!createExclusive(to, 0600, {}, &createError))
        return failWith(createError + " (" + to + ")");
    Handle src, dst;
    const QByteArray fromPath = QFile::encodeName(from), toPath = QFile::encodeName(to);
    // Read-write where possible: after a crash the file may have a hot journal,
    // which only a connection that can write rolls back (a read-only one
    // would refuse the file). A read-only folder still gets a read-only copy.
    if (sqlite3_open_v2(fromPath.constData(), &src.db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOFOLLOW,
                        nullptr) != SQLITE_OK) {
        sqlite3_close(src.db);
        src.db = nullptr;
        if (sqlite3_open_v2(fromPath.constData(), &src.db,
                            SQLITE_OPEN_READONLY | SQLITE_OPEN_NOFOLLOW, nullptr) != SQLITE_OK)
            return failWith(QString::fromUtf8(sqlite3_errmsg(src.db)));
    }
    // A writer holding the file briefly must not fail the backup.
    sqlite3_busy_timeout(src.db, 3000);
    if (sqlite3_open_v2(toPath.constData(), &dst.db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOFOLLOW,
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
    if (::chmod(toPath.constData(), mode) != 0)
        return failWith(errnoText() + " (" + to + ")");
    return true;
}

QStringList Backup::ownFileNames() const
{
    QStringList names{QString::fromLatin1(kMarker)};
    for (const QString& file : m_folder.databaseFiles()) {
        const QString name = QFileInfo(file).fileName();
        names << name << name + "-journal" << name + "-wal" << name + "-shm";
    }
    names << QFileInfo(m_folder.stnumDat()).fileName()
          << QFileInfo(m_folder.stylesDat()).fileName();
    return names;
}

bool Backup::removeOwn(const QString& path) const
{
    if (!isOwnFolder(path))
        return false;
    const QStringList own = ownFileNames();
    const QDir dir(path);
    const QStringList entries =
        dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& entry : entries) {
        const EntryType type = entryType(dir.filePath(entry));
        if (!own.contains(entry) || (type != EntryType::Regular && type != EntryType::Link)) {
            qCWarning(lcStore) << "backup folder holds something the program did not put there,"
                               << "left alone:" << dir.filePath(entry);
            return false;
        }
    }
    // unlink() removes a link itself, never what it points to; the marker
    // goes last so that a half-removed folder is still recognised.
    for (const QString& entry : entries)
        if (entry != QLatin1String(kMarker))
            ::unlink(QFile::encodeName(dir.filePath(entry)).constData());
    ::unlink(QFile::encodeName(dir.filePath(kMarker)).constData());
    return ::rmdir(QFile::encodeName(path).constData()) == 0;
}

void Backup::copyFiles(const QString& partial, BackupResult& result) const
{
    for (const QString& file : m_folder.databaseFiles()) {
        const QString target = QDir(partial).filePath(QFileInfo(file).fileName());
        QString error;
        if (copyDatabase(file, target, &error))
            result.copied << file;
        else
            result.failures << error;
    }
    for (const QString& file : {m_folder.stnumDat(), m_folder.stylesDat()}) {
        const EntryType type = entryType(file);
        if (type == EntryType::Missing)
            continue; // no styles yet: nothing to keep
        const QString target = QDir(partial).filePath(QFileInfo(file).fileName());
        QByteArray data;
        QString error;
        if (plainfile::read(file, &data, &error) &&
            createExclusive(target, modeOf(file, 0600) & 0666, data, &error))
            result.copied << file;
        else
            result.failures << describeStoreError(file, "unable to copy the file: " + error);
    }
}

void Backup::copyServer(const QString& partial, mode_t folderMode, BackupResult& result) const
{
    // All or nothing: the copy reads the server in one snapshot and checks
    // every table it wrote against what it read.
    const DataFolder copy(partial, m_folder.programDir());
    CatalogueCopy job(m_folder, copy);
    if (!job.run()) {
        result.failures << job.lastError();
        return;
    }
    QStringList written = copy.databaseFiles();
    written << copy.stnumDat() << copy.stylesDat();
    for (const QString& file : std::as_const(written)) {
        if (entryType(file) != EntryType::Regular)
            continue; // a style table without rows has no file
        // The server's rows get no more access here than the data folder has.
        ::chmod(QFile::encodeName(file).constData(), folderMode & 0666);
        result.copied << QDir(result.folder).filePath(QFileInfo(file).fileName());
    }
}

BackupResult Backup::writeTo(const QString& name)
{
    BackupResult result;
    const QString rootPath = m_folder.backupDir();
    result.folder = QDir(rootPath).filePath(name);
    const mode_t folderMode = modeOf(m_folder.dir(), 0700);
    const EntryType rootType = entryType(rootPath);
    if (rootType == EntryType::Missing &&
        ::mkdir(QFile::encodeName(rootPath).constData(), folderMode) != 0 && errno != EEXIST) {
        result.failures << describeStoreError(rootPath, "unable to create the backup folder (" +
                                                            errnoText() + ")");
        return result;
    }
    if (rootType != EntryType::Missing && rootType != EntryType::Directory) {
        result.failures << describeStoreError(
            rootPath, QString("not a folder of its own but %1; no backup is written through it, "
                              "and it is left as it is")
                          .arg(entryTypeName(rootType)));
        return result;
    }
    const QString partial = result.folder + ".partial";
    for (const QString& path : {partial, result.folder}) {
        if (entryType(path) == EntryType::Missing || removeOwn(path))
            continue;
        result.failures << describeStoreError(
            path, "this name is taken by something the program did not make; it is left alone");
        return result;
    }
    if (::mkdir(QFile::encodeName(partial).constData(), folderMode) != 0) {
        result.failures << describeStoreError(rootPath, "unable to create the backup folder (" +
                                                            errnoText() + ")");
        return result;
    }
    const QString marker = QDir(partial).filePath(kMarker);
    QString markerError;
    if (!createExclusive(marker, 0600, QByteArray(kIncompleteLine) + '\n', &markerError)) {
        ::rmdir(QFile::encodeName(partial).constData());
        result.failures << describeStoreError(rootPath, markerError);
        return result;
    }
    if (m_folder.onServer())
        copyServer(partial, folderMode, result);
    else
        copyFiles(partial, result);
    if (result.copied.isEmpty()) {
        removeOwn(partial);
        if (result.failures.isEmpty())
            result.failures << describeStoreError(m_folder.dir(), "no data file found");
        return result;
    }
    result.complete = result.failures.isEmpty();
    QByteArray status = (result.complete ? kCompleteLine : kIncompleteLine) + QByteArray("\n");
    for (const QString& file : result.copied)
        status += QFileInfo(file).fileName().toUtf8() + '\n';
    if (!plainfile::write(marker, status).isEmpty()) {
        result.complete = false;
        result.failures << describeStoreError(marker, "unable to write the backup's marker");
    }
    if (::rename(QFile::encodeName(partial).constData(),
                 QFile::encodeName(result.folder).constData()) != 0) {
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
    const QString path = QDir(m_folder.backupDir()).filePath(name);
    // Today's backup is a folder of the program's own (or one an earlier
    // version made); anything else by that name is not used and not touched.
    if (entryType(m_folder.backupDir()) == EntryType::Directory &&
        entryType(path) == EntryType::Directory) {
        BackupResult result;
        result.skipped = true;
        result.complete = isComplete(path);
        result.folder = path;
        return result;
    }
    return writeTo(name);
}

BackupResult Backup::beforeRepair(const QDateTime& now)
{
    QString name = now.date().toString("yyyy-MM-dd");
    if (entryType(QDir(m_folder.backupDir()).filePath(name)) != EntryType::Missing)
        name += now.time().toString("-HHmmss");
    return writeTo(name);
}

bool Backup::isComplete(const QString& backupFolder)
{
    return entryType(backupFolder) == EntryType::Directory &&
           markerStatus(backupFolder) == kCompleteLine;
}

QStringList Backup::backups() const
{
    QStringList names;
    if (entryType(m_folder.backupDir()) != EntryType::Directory)
        return names;
    const QDir root(m_folder.backupDir());
    const QStringList entries = root.entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString& entry : entries)
        if (backupName().match(entry).hasMatch() && isOwnFolder(root.filePath(entry)))
            names << root.filePath(entry);
    return names;
}

QStringList Backup::prune()
{
    QStringList all = backups();
    QStringList removed;
    if (all.size() <= kKeep)
        return removed;
    const bool newestComplete = isComplete(all.last());
    QString lastComplete;
    for (const QString& folder : all)
        if (isComplete(folder))
            lastComplete = folder;
    // Oldest incomplete first (never the one just written), then, only when
    // the newest backup is complete itself, the oldest complete ones but the last.
    QStringList candidates;
    for (qsizetype i = 0; i + 1 < all.size(); ++i)
        if (!isComplete(all.at(i)))
            candidates << all.at(i);
    if (newestComplete)
        for (const QString& folder : all)
            if (folder != lastComplete && isComplete(folder))
                candidates << folder;
    qsizetype count = all.size();
    for (const QString& folder : std::as_const(candidates)) {
        if (count <= kKeep)
            break;
        if (removeOwn(folder)) {
            removed << folder;
            --count;
        } else {
            qCWarning(lcStore) << "could not remove old backup" << folder;
        }
    }
    return removed;
}

} // namespace quillon
