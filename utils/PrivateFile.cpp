#include "PrivateFile.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace UtilsLib {

namespace {

constexpr mode_t OwnerOnlyFile = 0600;
constexpr mode_t OwnerOnlyDirectory = 0700;
constexpr mode_t GroupAndOther = 077;

QByteArray nativePath(const QString &path)
{
    return QFile::encodeName(QDir::cleanPath(QFileInfo(path).absoluteFilePath()));
}

bool writeAll(int fd, const QByteArray &data)
{
    const char *next = data.constData();
    size_t left = size_t(data.size());
    while (left > 0) {
        const ssize_t written = ::write(fd, next, left);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        next += written;
        left -= size_t(written);
    }
    return true;
}

// A file of the user's own that others may read is tightened; one of somebody
// else's keeps the mode its owner gave it.
bool tightenIfOwn(int fd, const struct stat &status)
{
    if ((status.st_mode & GroupAndOther) == 0 || status.st_uid != ::geteuid())
        return (status.st_mode & GroupAndOther) == 0;
    return ::fchmod(fd, OwnerOnlyFile) == 0;
}

// The rename is only as lasting as the folder's entry for it.
void syncFolderOf(const QByteArray &path)
{
    const qsizetype slash = path.lastIndexOf('/');
    const QByteArray folder = slash > 0 ? path.left(slash) : QByteArray("/");
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

} // namespace

bool PrivateFile::makeDirectory(const QString &directory)
{
    const QByteArray path = nativePath(directory);
    struct stat status
    { };
    // Only the missing levels are made; an existing parent keeps its mode.
    for (qsizetype slash = path.indexOf('/', 1); slash >= 0; slash = path.indexOf('/', slash + 1)) {
        const QByteArray level = path.left(slash);
        if (::lstat(level.constData(), &status) != 0)
            ::mkdir(level.constData(), OwnerOnlyDirectory);
    }
    if (::lstat(path.constData(), &status) != 0) {
        if (::mkdir(path.constData(), OwnerOnlyDirectory) != 0 && errno != EEXIST)
            return false;
        if (::lstat(path.constData(), &status) != 0)
            return false;
    }
    // A link placed by an administrator is followed, its target left alone.
    if (S_ISLNK(status.st_mode))
        return QFileInfo(directory).isDir();
    if (!S_ISDIR(status.st_mode))
        return false;
    if ((status.st_mode & GroupAndOther) != 0 && status.st_uid == ::geteuid())
        ::chmod(path.constData(), OwnerOnlyDirectory);
    return true;
}

bool PrivateFile::isPrivateDirectory(const QString &directory)
{
    if (directory.isEmpty() || !QDir::isAbsolutePath(directory))
        return false;
    struct stat status
    { };
    return ::lstat(QFile::encodeName(directory).constData(), &status) == 0
        && S_ISDIR(status.st_mode) && status.st_uid == ::getuid()
        && (status.st_mode & 0777) == OwnerOnlyDirectory;
}

bool PrivateFile::write(const QString &path, const QByteArray &data)
{
    const QByteArray target = nativePath(path);
    // mkostemp creates the file O_EXCL and 0600 whatever the umask: nobody
    // else can have it open, and the file it replaces stays whole until the
    // rename. A file that cannot be written so (a folder the user may not
    // write) is not written at all: in place, a reader who opened it earlier
    // would read the new text, and a full disk would leave it cut.
    QByteArray temporary = target + ".XXXXXX";
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0)
        return false;
    bool ok = writeAll(fd, data) && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    if (ok && ::rename(temporary.constData(), target.constData()) == 0) {
        syncFolderOf(target);
        return true;
    }
    ::unlink(temporary.constData());
    return false;
}

int PrivateFile::openForAppend(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(),
        O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, OwnerOnlyFile);
    if (fd < 0)
        return -1;
    // A device or a pipe (-trace=/dev/stderr) is written as it is.
    struct stat status
    { };
    if (::fstat(fd, &status) != 0 || (S_ISREG(status.st_mode) && !tightenIfOwn(fd, status))) {
        ::close(fd);
        return -1;
    }
    return fd;
}

} // namespace UtilsLib
