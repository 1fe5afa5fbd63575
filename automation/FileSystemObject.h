#pragma once

#include "Dispatch.h"

namespace automation {

// "Scripting.FileSystemObject": the file operations the program needs by name.
// DeleteFile(FileSpec, Force) refuses a read-only file unless Force is true.
class FileSystemObject : public Dispatch {
public:
    FileSystemObject();
    QString typeName() const override { return QStringLiteral("Scripting.FileSystemObject"); }

    static void deleteFile(const QString& path, bool force);
};

}  // namespace automation
