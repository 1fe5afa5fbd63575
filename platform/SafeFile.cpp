#include "platform/SafeFile.h"

#include "platform/Product.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSysInfo>
#include <QThread>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace platform {

namespace {

ReadCall gRead;
WriteCall gWrite;
ModeCall gMode;

ssize_t doRead(int fd, void* buffer, size_t size) { return gRead ? gRead(fd, buffer, size) : ::read(fd, buffer, size); }
ssize_t doWrite(int fd, const void* data, size_t size)
{
    return gWrite ? gWrite(fd, data, size) : ::write(fd, data, size);
}

QByteArray native(const QString& path) { return QFile::encodeName(path); }

[[noreturn]] void fail(const QString& what, const QString& path, int code)
{
    throw FileError(what, path, systemReason(code), code);
}

// A name of ours: hidden, then the target's name, the program's command name
// (".corvalin-") and the random part.
QString temporaryPrefix(const QString& targetName)
{
    return QLatin1Char('.') + targetName + QLatin1Char('.') + QLatin1String(kCommandName) + QLatin1Char('-');
}
constexpr int kRandomLength = 6;
// Capitals and digits only, so that a name of ours never reads as a word.
constexpr char kRandomChars[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";

// Where a replace of `path` lands: at the end of the chain of links the user
// made, every level followed, as editors here save through a link and keep
// it. A link of another user's (one planted in a shared folder) ends the
// chain: that link is replaced, never written through. The end may be a name
// not taken yet (a dangling link): the file is then made where the link says.
QString endOfOwnLinks(const QString& path)
{
    QString at = path;
    for (int level = 0;; ++level) {
        const QByteArray name = native(at);
        struct stat st {};
        if (::lstat(name.constData(), &st) != 0 || !S_ISLNK(st.st_mode) || st.st_uid != ::geteuid())
            return at;
        if (level == 40)  // the system's own limit on a chain
            fail(QStringLiteral("write"), path, ELOOP);
        QByteArray to(PATH_MAX, Qt::Uninitialized);
        const ssize_t n = ::readlink(name.constData(), to.data(), static_cast<size_t>(to.size()));
        if (n < 0)
            fail(QStringLiteral("write"), path, errno);
        to.truncate(n);
        const QString next = QFile::decodeName(to);
        at = QDir::isAbsolutePath(next) ? next : QFileInfo(at).absolutePath() + QLatin1Char('/') + next;
    }
}

}  // namespace

FileError::FileError(const QString& action, const QString& path, const QString& reason, int code)
    : std::runtime_error(QStringLiteral("Can't %1 '%2': %3").arg(action, path, reason).toStdString()), mReason(reason),
      mCode(code)
{}

QString systemReason(int code) { return QString::fromLocal8Bit(std::strerror(code)); }

ReadCall setReadCall(ReadCall call) { return std::exchange(gRead, std::move(call)); }
WriteCall setWriteCall(WriteCall call) { return std::exchange(gWrite, std::move(call)); }
ModeCall setModeCall(ModeCall call) { return std::exchange(gMode, std::move(call)); }

FileDescriptor::~FileDescriptor()
{
    if (mFd >= 0)
        ::close(mFd);
}

int FileDescriptor::close()
{
    const int fd = mFd;
    mFd = -1;
    return fd >= 0 ? ::close(fd) : 0;
}

void writeAll(int fd, const char* data, qint64 size, const QString& path)
{
    while (size > 0) {
        const ssize_t n = doWrite(fd, data, static_cast<size_t>(std::min<qint64>(size, 1 << 30)));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            fail(QStringLiteral("write"), path, errno);
        if (n == 0)
            fail(QStringLiteral("write"), path, ENOSPC);  // a disk that takes nothing more is full
        data += n;
        size -= n;
    }
}

QByteArray readAll(int fd, qint64 limit, const QString& path)
{
    const auto tooLarge = [&] {
        return FileError(QStringLiteral("read"), path, QStringLiteral("it is larger than %1 MB").arg(limit >> 20),
                         EFBIG);
    };
    QByteArray out;
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
        if (st.st_size > limit)
            throw tooLarge();  // refused before a byte of it takes memory
        out.reserve(static_cast<qsizetype>(st.st_size));
    }
    char buffer[65536];
    for (;;) {
        const ssize_t n = doRead(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            fail(QStringLiteral("read"), path, errno);
        if (n == 0)
            return out;
        if (out.size() + n > limit)
            throw tooLarge();  // a file that grows while it is read
        out.append(buffer, static_cast<qsizetype>(n));
    }
}

int openRegularForReading(const QString& path, Links links)
{
    const int flags = O_RDONLY | O_NONBLOCK | O_CLOEXEC | (links == Links::NoLinks ? O_NOFOLLOW : 0);
    const int fd = ::open(native(path).constData(), flags);
    if (fd < 0 && errno == ELOOP && links == Links::NoLinks)
        throw FileError(QStringLiteral("open"), path, QStringLiteral("it is a link"), ELOOP);
    if (fd < 0)
        fail(QStringLiteral("open"), path, errno);
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        const int code = errno;
        ::close(fd);
        fail(QStringLiteral("open"), path, code);
    }
    if (!S_ISREG(st.st_mode)) {
        ::close(fd);
        throw FileError(QStringLiteral("open"), path, QStringLiteral("it is not an ordinary file"), EINVAL);
    }
    // Reading an ordinary file never waits, so blocking reads are fine from here.
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}

int createExclusive(const QString& path, mode_t mode)
{
    const int fd = ::open(native(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
    if (fd < 0)
        fail(QStringLiteral("create"), path, errno);
    return fd;
}

FileIdentity writeNewFile(const QString& path, const QByteArray& bytes, mode_t mode)
{
    FileDescriptor file(createExclusive(path, mode));
    FileIdentity identity;
    try {
        struct stat st {};
        if (::fstat(file.get(), &st) != 0)
            fail(QStringLiteral("write"), path, errno);
        identity = FileIdentity{st.st_dev, st.st_ino};
        writeAll(file.get(), bytes.constData(), bytes.size(), path);
        if (file.close() != 0)
            fail(QStringLiteral("write"), path, errno);
    } catch (...) {
        ::unlink(native(path).constData());
        throw;
    }
    return identity;
}

QByteArray readWrittenFile(const QString& path, const FileIdentity& written, qint64 limit)
{
    FileDescriptor file(openRegularForReading(path, Links::NoLinks));
    struct stat st {};
    if (::fstat(file.get(), &st) != 0)
        fail(QStringLiteral("read"), path, errno);
    if (FileIdentity{st.st_dev, st.st_ino} != written)
        throw FileError(QStringLiteral("read"), path, QStringLiteral("it is not the file this program wrote there"),
                        EPERM);
    if (st.st_size > limit)
        throw FileError(QStringLiteral("read"), path, QStringLiteral("it is larger than %1 MB").arg(limit >> 20),
                        EFBIG);
    return readAll(file.get(), limit, path);
}

QString temporaryName(const QString& targetName)
{
    QString name = temporaryPrefix(targetName);
    for (int i = 0; i < kRandomLength; ++i)
        name += QLatin1Char(kRandomChars[QRandomGenerator::global()->bounded(int(sizeof kRandomChars - 1))]);
    return name;
}

bool isTemporaryName(const QString& name, const QString& targetName)
{
    const QString prefix = temporaryPrefix(targetName);
    if (name.size() != prefix.size() + kRandomLength || !name.startsWith(prefix))
        return false;
    const QStringView random = QStringView(name).sliced(prefix.size());
    return std::all_of(random.begin(), random.end(), [](QChar c) {
        return c.unicode() != 0 && c.unicode() < 128 && std::strchr(kRandomChars, c.toLatin1());
    });
}

mode_t defaultFileMode()
{
    // The umask can only be read by setting it; /proc tells it without that race.
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly)) {
        for (const QByteArray& line : status.readAll().split('\n'))
            if (line.startsWith("Umask:")) {
                bool ok = false;
                const uint mask = line.mid(6).trimmed().toUInt(&ok, 8);
                if (ok)
                    return 0666 & ~mask;
            }
    }
    const mode_t mask = ::umask(022);
    ::umask(mask);
    return 0666 & ~mask;
}

void replaceFile(const QString& target, const std::function<void(int fd)>& fill, mode_t newFileMode)
{
    const QString replaced = endOfOwnLinks(target);
    const QFileInfo info(replaced);
    const QString folder = info.absolutePath();
    const QByteArray nativeTarget = native(replaced);

    mode_t mode = newFileMode;
    struct stat st {};
    if (::lstat(nativeTarget.constData(), &st) == 0) {
        if (S_ISDIR(st.st_mode))
            throw FileError(QStringLiteral("write"), target, QStringLiteral("it is a folder"), EISDIR);
        if (S_ISREG(st.st_mode))
            mode = st.st_mode & 07777;
    }

    QString temp;
    int fd = -1;
    for (int attempt = 0; fd < 0; ++attempt) {
        temp = folder + QLatin1Char('/') + temporaryName(info.fileName());
        fd = ::open(native(temp).constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd < 0 && (errno != EEXIST || attempt > 100))
            fail(QStringLiteral("write"), target, errno);
    }
    FileDescriptor file(fd);
    const QByteArray nativeTemp = native(temp);
    try {
        fill(fd);
        // A file system without Unix permissions (vfat) refuses this; the
        // bytes matter more than the mode.
        static_cast<void>(gMode ? gMode(fd, mode) : ::fchmod(fd, mode));
        // The data must be on the disk before the name points at it, or a
        // crash right after the rename could leave an empty file behind.
        if (::fdatasync(fd) != 0 && errno != EINVAL)
            fail(QStringLiteral("write"), target, errno);
        if (file.close() != 0)
            fail(QStringLiteral("write"), target, errno);
        if (::rename(nativeTemp.constData(), nativeTarget.constData()) != 0)
            fail(QStringLiteral("write"), target, errno);
    } catch (...) {
        ::unlink(nativeTemp.constData());
        throw;
    }
}

void replaceFile(const QString& target, const QByteArray& bytes, mode_t newFileMode)
{
    replaceFile(
        target, [&](int fd) { writeAll(fd, bytes.constData(), bytes.size(), target); }, newFileMode);
}

void copyFile(const QString& source, const QString& target, mode_t newFileMode)
{
    FileDescriptor in(openRegularForReading(source, Links::Follow));
    replaceFile(
        target,
        [&](int out) {
            char buffer[1 << 16];
            for (;;) {
                const ssize_t n = doRead(in.get(), buffer, sizeof buffer);
                if (n < 0 && errno == EINTR)
                    continue;
                if (n < 0)
                    fail(QStringLiteral("read"), source, errno);
                if (n == 0)
                    return;
                writeAll(out, buffer, n, target);
            }
        },
        newFileMode);
}

bool FileLock::tryLock(int timeoutMs)
{
    if (mFd >= 0)
        return true;
    const QByteArray path = native(mPath);
    QElapsedTimer waited;
    waited.start();
    for (;;) {
        const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd < 0)
            return false;
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            // The holder before us removes the file as it lets go: a lock on a
            // file no longer under the name keeps nobody out, so try again.
            struct stat held {
            }, named{};
            if (::fstat(fd, &held) == 0 && ::stat(path.constData(), &named) == 0 && held.st_dev == named.st_dev
                && held.st_ino == named.st_ino) {
                mFd = fd;
                const QByteArray info = QByteArray::number(qint64(::getpid())) + '\n'
                                        + QCoreApplication::applicationName().toUtf8() + '\n'
                                        + QSysInfo::machineHostName().toUtf8() + '\n';
                if (::ftruncate(fd, 0) == 0)
                    static_cast<void>(::write(fd, info.constData(), static_cast<size_t>(info.size())));
                return true;
            }
            ::close(fd);
            continue;
        }
        const int code = errno;
        ::close(fd);
        if (code != EWOULDBLOCK && code != EINTR) {
            errno = code;
            return false;
        }
        if (waited.elapsed() >= timeoutMs) {
            errno = EWOULDBLOCK;
            return false;
        }
        QThread::msleep(5);
    }
}

void FileLock::unlock()
{
    if (mFd < 0)
        return;
    ::unlink(native(mPath).constData());
    ::close(mFd);
    mFd = -1;
}

}  // namespace platform
