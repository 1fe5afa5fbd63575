#pragma once

#include <QByteArray>
#include <QString>

namespace app {

// True when the file system can tell the time of the path's last change; no
// failure leaves it (empty path, missing folder, missing file: false).
bool FileExists(const QString& path);

// Lets pending window events run once, then deletes the file; when the plain
// delete fails it forces the delete through "Scripting.FileSystemObject".
// Never fails visibly: a missing file is simply left missing.
void RemoveFile(const QString& path);

// A folder and a name joined with the platform's separator.
QString joinPath(const QString& folder, const QString& name);

// Writes exactly the given bytes to a new file. The file is created
// exclusively and never through a symbolic link; a failure throws with a
// description and leaves no partial file behind.
void WriteBytesToFile(const QByteArray& bytes, const QString& path);

}  // namespace app
