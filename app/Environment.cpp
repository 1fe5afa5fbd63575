#include "app/Environment.h"

#include "app/Dialogs.h"
#include "app/Files.h"
#include "platform/Product.h"
#include "platform/SafeFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
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

// A private folder made in place of one whose name another user (or a link)
// holds: kept for the rest of the run, so that the user is told once.
struct Fallback {
    QString taken;
    QString folder;
};
Fallback gFallback;

// A folder of ours that nobody else can enter, not a link to one.
bool isPrivate(const QString& folder)
{
    struct stat st {};
    return ::lstat(QFile::encodeName(folder).constData(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::getuid()
           && (st.st_mode & 0077) == 0;
}

// Another user who makes our folder's name first must not stop every run: a
// fresh folder with a name nobody can guess takes its place.
QString fallbackFor(const QString& taken, const QString& why)
{
    if (gFallback.taken == taken && isPrivate(gFallback.folder))
        return gFallback.folder;
    QByteArray name = QFile::encodeName(taken + QStringLiteral("-XXXXXX"));
    if (!::mkdtemp(name.data()))
        unusable(taken, platform::systemReason(errno));
    const bool told = gFallback.taken == taken;
    gFallback = Fallback{taken, QFile::decodeName(name)};
    if (!told)
        MsgBox(QStringLiteral("The folder '%1' for the program's temporary files %2, so it was not used. The "
                              "program keeps them in the new private folder '%3' while it runs.")
                   .arg(taken, why, gFallback.folder),
               vbExclamation);
    return gFallback.folder;
}

// A folder only we can enter: made with mode 0700, and when it already exists
// it must be a real folder (not a link) that we own and nobody else can write.
QString privateFolder()
{
    const QString folder =
        joinPath(QDir::tempPath(), QStringLiteral("%1-%2").arg(QLatin1String(platform::kCommandName)).arg(::getuid()));
    const QByteArray native = QFile::encodeName(folder);
    if (::mkdir(native.constData(), 0700) != 0 && errno != EEXIST)
        unusable(folder, platform::systemReason(errno));
    struct stat st {};
    if (::lstat(native.constData(), &st) != 0)
        unusable(folder, platform::systemReason(errno));
    if (S_ISLNK(st.st_mode))
        return fallbackFor(folder, QStringLiteral("is a link"));
    if (!S_ISDIR(st.st_mode))
        return fallbackFor(folder, QStringLiteral("is not a folder"));
    if (st.st_uid != ::getuid())
        return fallbackFor(folder, QStringLiteral("belongs to another user"));
    if ((st.st_mode & 0077) != 0 && ::chmod(native.constData(), 0700) != 0)
        unusable(folder, platform::systemReason(errno));
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

Sharing sharingOf(const QString& folder)
{
    // O_PATH: a folder we may write in but not list still tells who owns it.
    platform::FileDescriptor opened(::open(QFile::encodeName(folder).constData(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    struct stat st {};
    if (opened.get() < 0 || ::fstat(opened.get(), &st) != 0)
        unusable(folder, platform::systemReason(errno));
    // The owner of a folder can rename anything in it, sticky bit or not; root
    // can do anything anyway.
    const bool otherOwner = st.st_uid != ::geteuid() && st.st_uid != 0;
    const bool othersWrite = (st.st_mode & (S_IWGRP | S_IWOTH)) != 0;
    if (otherOwner || (othersWrite && !(st.st_mode & S_ISVTX)))
        return Sharing::OthersReplace;
    return othersWrite ? Sharing::OthersCreate : Sharing::Private;
}

QString documentFolder()
{
    const QString temp = tempFolder();
    return sharingOf(temp) == Sharing::OthersReplace ? privateFolder() : temp;
}

QString programFolder() { return gProgramFolder.isEmpty() ? QCoreApplication::applicationDirPath() : gProgramFolder; }

QString setProgramFolder(QString folder) { return std::exchange(gProgramFolder, std::move(folder)); }

}  // namespace environment

}  // namespace app
