#include "meeting/SaveFolder.h"

#include "meeting/SettingsStore.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace meeting {

namespace {
// Beside the meeting's fields, under a name none of them takes.
constexpr char kSaveFolderKey[] = "LastSaveFolder";

bool isFolder(const QString& path) { return !path.isEmpty() && QFileInfo(path).isDir(); }
}  // namespace

QString saveFolder()
{
    const QString last =
        GetSetting(QLatin1String(kApplication), QLatin1String(kSection), QLatin1String(kSaveFolderKey));
    if (isFolder(last))
        return last;
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return isFolder(documents) ? documents : QDir::homePath();
}

void rememberSaveFolder(const QString& savedFile)
{
    SaveSetting(QLatin1String(kApplication), QLatin1String(kSection), QLatin1String(kSaveFolderKey),
                QFileInfo(savedFile).absolutePath());
}

}  // namespace meeting
