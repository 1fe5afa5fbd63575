#include "app/Shared.h"

#include "automation/Object.h"
#include "automation/Registry.h"

#include <QCoreApplication>
#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace app {

bool FileExists(const QString& path)
{
    if (path.isEmpty())
        return false;
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0;
}

automation::Value NullToDefault(const automation::Value& value, const automation::Value& fallback)
{
    return value.isNull() ? fallback : value;
}

void RemoveFile(const QString& path)
{
    // A click waiting in the queue may run its handler here, before the delete.
    QCoreApplication::processEvents();
    try {
        if (!QFile::remove(path)) {
            const automation::ObjectPtr fso =
                automation::CreateObject(QStringLiteral("Scripting.FileSystemObject"));
            automation::call(fso, QStringLiteral("DeleteFile"), {path, true});
        }
    } catch (...) {
        // Removing is best effort by design: nothing here may interrupt the caller.
    }
}

void WriteBytesToFile(const QByteArray& bytes, const QString& path)
{
    const auto fail = [&](const char* what) {
        const QString reason = QString::fromLocal8Bit(std::strerror(errno));
        throw std::runtime_error(
            QStringLiteral("Can't %1 '%2': %3").arg(QLatin1String(what), path, reason).toStdString());
    };
    const QByteArray native = QFile::encodeName(path);
    const int fd = ::open(native.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                          0600);
    if (fd < 0)
        fail("create");
    const char* p = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, static_cast<size_t>(left));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            const int saved = errno;
            ::close(fd);
            ::unlink(native.constData());
            errno = saved;
            fail("write");
        }
        p += n;
        left -= n;
    }
    if (::close(fd) != 0) {
        const int saved = errno;
        ::unlink(native.constData());
        errno = saved;
        fail("write");
    }
}

}  // namespace app
