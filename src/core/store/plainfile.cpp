#include "store/plainfile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <QFile>
#include <QFileInfo>
#include <sys/stat.h>
#include <unistd.h>

namespace quillon {

namespace {

QString errnoText(int code)
{
    return QString::fromLocal8Bit(std::strerror(code));
}

EntryType typeOf(mode_t mode)
{
    if (S_ISREG(mode))
        return EntryType::Regular;
    if (S_ISDIR(mode))
        return EntryType::Directory;
    if (S_ISLNK(mode))
        return EntryType::Link;
    if (S_ISFIFO(mode))
        return EntryType::Pipe;
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return EntryType::Device;
    if (S_ISSOCK(mode))
        return EntryType::Socket;
    return EntryType::Other;
}

QString notRegular(EntryType type)
{
    return QString("not a regular file: the entry is %1").arg(entryTypeName(type));
}

// Closes a descriptor however the function ends.
struct Fd {
    int fd = -1;
    ~Fd()
    {
        if (fd >= 0)
            ::close(fd);
    }
};

} // namespace

EntryType entryType(const QString& path)
{
    struct stat info {};
    if (::lstat(QFile::encodeName(path).constData(), &info) != 0)
        return EntryType::Missing;
    return typeOf(info.st_mode);
}

QString entryTypeName(EntryType type)
{
    switch (type) {
    case EntryType::Directory:
        return QStringLiteral("a folder");
    case EntryType::Link:
        return QStringLiteral("a link");
    case EntryType::Pipe:
        return QStringLiteral("a pipe");
    case EntryType::Device:
        return QStringLiteral("a device");
    case EntryType::Socket:
        return QStringLiteral("a socket");
    case EntryType::Other:
        return QStringLiteral("a special file");
    case EntryType::Missing:
    case EntryType::Regular:
        break;
    }
    return {};
}

namespace plainfile {

bool read(const QString& path, QByteArray* data, QString* error)
{
    auto fail = [&](const QString& why) {
        if (error)
            *error = why;
        return false;
    };
    data->clear();
    // O_NONBLOCK: opening a pipe for reading would otherwise wait for a writer.
    Fd f;
    f.fd = ::open(QFile::encodeName(path).constData(),
                  O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (f.fd < 0) {
        const int code = errno;
        const EntryType type = entryType(path);
        return fail(type == EntryType::Missing || type == EntryType::Regular ? errnoText(code)
                                                                             : notRegular(type));
    }
    struct stat info {};
    if (::fstat(f.fd, &info) != 0)
        return fail(errnoText(errno));
    if (!S_ISREG(info.st_mode))
        return fail(notRegular(typeOf(info.st_mode)));
    QByteArray buffer;
    buffer.resize(qsizetype(info.st_size));
    qsizetype have = 0;
    for (;;) {
        if (have == buffer.size())
            buffer.resize(buffer.size() + 4096); // the file grew since fstat
        const ssize_t n = ::read(f.fd, buffer.data() + have, size_t(buffer.size() - have));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return fail(errnoText(errno));
        }
        if (n == 0)
            break;
        have += n;
    }
    buffer.truncate(have);
    *data = buffer;
    return true;
}

QString write(const QString& path, const QByteArray& data)
{
    const QByteArray target = QFile::encodeName(path);
    mode_t mode = 0666; // reduced by the umask for a new file
    bool existed = false;
    struct stat info {};
    if (::lstat(target.constData(), &info) == 0) {
        if (!S_ISREG(info.st_mode))
            return notRegular(typeOf(info.st_mode));
        mode = info.st_mode & 07777;
        existed = true;
    } else if (errno != ENOENT) {
        return errnoText(errno);
    }
    const QString dir = QFileInfo(path).absolutePath();
    QByteArray temp;
    Fd f;
    for (int attempt = 0; f.fd < 0 && attempt < 100; ++attempt) {
        temp = QFile::encodeName(QString("%1/.%2.%3-%4.tmp")
                                     .arg(dir, QFileInfo(path).fileName())
                                     .arg(::getpid())
                                     .arg(attempt));
        f.fd = ::open(temp.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                      mode & 0666);
        if (f.fd < 0 && errno != EEXIST)
            return errnoText(errno);
    }
    if (f.fd < 0)
        return QStringLiteral("unable to create a temporary file");
    auto failWith = [&](int code) {
        ::unlink(temp.constData());
        return errnoText(code);
    };
    // The umask may have taken more; an existing file's bits are kept exactly.
    if (existed && ::fchmod(f.fd, mode) != 0)
        return failWith(errno);
    qsizetype done = 0;
    while (done < data.size()) {
        const ssize_t n = ::write(f.fd, data.constData() + done, size_t(data.size() - done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return failWith(errno);
        }
        done += n;
    }
    if (::fsync(f.fd) != 0)
        return failWith(errno);
    if (::close(f.fd) != 0) {
        f.fd = -1;
        return failWith(errno);
    }
    f.fd = -1;
    // rename() replaces the entry itself: a link that appeared meanwhile is
    // replaced, not followed.
    if (::rename(temp.constData(), target.constData()) != 0)
        return failWith(errno);
    Fd folder;
    folder.fd = ::open(QFile::encodeName(dir).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder.fd >= 0)
        ::fsync(folder.fd);
    return {};
}

} // namespace plainfile
} // namespace quillon
