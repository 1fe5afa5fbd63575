#include "app/Environment.h"

#include "app/Files.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace app {

namespace {

QString gProgramFolder;

[[noreturn]] void unusable(const QString& folder, const QString& why)
{
    throw std::runtime_error(
        QStringLiteral("The temporary folder '%1' can't be used: %2").arg(folder, why).toStdString());
}

QString errnoText() { return QString::fromLocal8Bit(std::strerror(errno)); }

// A folder only we can enter: made with mode 0700, and when it already exists
// it must be a real folder (not a link) that we own and nobody else can write.
QString privateFolder()
{
    const QString folder = joinPath(QDir::tempPath(), QStringLiteral("corvalin-%1").arg(::getuid()));
    const QByteArray native = QFile::encodeName(folder);
    if (::mkdir(native.constData(), 0700) != 0 && errno != EEXIST)
        unusable(folder, errnoText());
    struct stat st {};
    if (::lstat(native.constData(), &st) != 0)
        unusable(folder, errnoText());
    if (!S_ISDIR(st.st_mode))
        unusable(folder, QStringLiteral("it is not a folder"));
    if (st.st_uid != ::getuid())
        unusable(folder, QStringLiteral("it belongs to another user"));
    if ((st.st_mode & 0077) != 0 && ::chmod(native.constData(), 0700) != 0)
        unusable(folder, errnoText());
    return folder;
}

}  // namespace

namespace environment {

QString tempFolder()
{
    const QString temp = qEnvironmentVariable("TEMP");
    return temp.isEmpty() ? privateFolder() : temp;
}

QString privateTempFolder() { return privateFolder(); }

QString programFolder() { return gProgramFolder.isEmpty() ? QCoreApplication::applicationDirPath() : gProgramFolder; }

QString setProgramFolder(QString folder) { return std::exchange(gProgramFolder, std::move(folder)); }

}  // namespace environment

}  // namespace app
