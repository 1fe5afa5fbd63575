#pragma once

#include "wordproc/Model.h"

#include <QByteArray>
#include <QString>
#include <stdexcept>

namespace wordproc {

// A document that can't be read or written, with what the user can act on.
class DocumentError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
    explicit DocumentError(const QString& description) : std::runtime_error(description.toStdString()) {}
};

// Limits that keep a hostile or broken package from exhausting memory.
inline constexpr qint64 kMaxPackageBytes = 64ll << 20;
inline constexpr qint64 kMaxPartBytes = 32ll << 20;
inline constexpr qint64 kMaxTotalPartBytes = 128ll << 20;

// Office Open XML WordprocessingML packages: the zip container and the parts
// the engine reads and writes (document, styles, font table, settings, core
// and app properties). Elements the engine does not know are skipped.
DocumentModel readPackage(const QByteArray& bytes, const QString& nameForMessages);
DocumentModel loadPackage(const QString& path);

// Writes the package to a new file beside `path`, then renames it into place,
// so a failure never leaves a half-written document under the name.
void savePackage(const DocumentModel& model, const QString& path, int pages);

// The parts as text, for the writer's own tests and for checking.
QByteArray documentXml(const DocumentModel& model);
QByteArray stylesXml(const DocumentModel& model);

}  // namespace wordproc
