#include "FileSystemObject.h"

#include "AutomationError.h"
#include "platform/SafeFile.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace automation {

FileSystemObject::FileSystemObject()
{
    addMethod(
        QStringLiteral("DeleteFile"),
        {required(QStringLiteral("FileSpec"), Kind::String), optionalParam(QStringLiteral("Force"), Kind::Boolean)},
        [](const Bound& a) {
            deleteFile(a[0].toString(), a.valueOr(1, false).toBool());
            return Value();
        });
}

void FileSystemObject::deleteFile(const QString& path, bool force)
{
    const QByteArray native = QFile::encodeName(path);
    struct stat st {};
    // lstat: a link is deleted as itself, never followed.
    if (path.isEmpty() || ::lstat(native.constData(), &st) != 0)
        throw AutomationError(QStringLiteral("File not found: '%1'").arg(path));
    if (S_ISDIR(st.st_mode))
        throw AutomationError(QStringLiteral("'%1' is a folder, not a file").arg(path));
    const bool readOnly = !S_ISLNK(st.st_mode) && (st.st_mode & S_IWUSR) == 0;
    if (readOnly && !force)
        throw AutomationError(QStringLiteral("Permission denied: '%1' is read-only").arg(path));
    if (::unlink(native.constData()) != 0)
        throw AutomationError(QStringLiteral("Can't delete '%1': %2").arg(path, platform::systemReason(errno)));
}

}  // namespace automation
