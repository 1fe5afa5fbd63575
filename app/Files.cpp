#include "app/Files.h"

#include "automation/Object.h"
#include "automation/Registry.h"
#include "platform/SafeFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <sys/stat.h>

namespace app {

bool FileExists(const QString& path)
{
    if (path.isEmpty())
        return false;
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0;
}

void RemoveFile(const QString& path)
{
    // A click waiting in the queue may run its handler here, before the delete.
    QCoreApplication::processEvents();
    if (path.isEmpty())
        return;  // no file was made
    try {
        if (!QFile::remove(path)) {
            const automation::ObjectPtr fso = automation::CreateObject(QStringLiteral("Scripting.FileSystemObject"));
            automation::call(fso, QStringLiteral("DeleteFile"), {path, true});
        }
    } catch (...) {
        // Removing is best effort by design: nothing here may interrupt the caller.
    }
}

void WriteBytesToFile(const QByteArray& bytes, const QString& path)
{
    // Other users may share the temporary folder: what we write there is ours alone.
    platform::writeNewFile(path, bytes, 0600);
}

QString joinPath(const QString& folder, const QString& name)
{
    const QChar sep = QDir::separator();
    QString f = QDir::toNativeSeparators(folder);
    while (f.size() > 1 && f.endsWith(sep))
        f.chop(1);
    if (f.isEmpty())
        return name;
    return f == sep ? f + name : f + sep + name;
}

}  // namespace app
