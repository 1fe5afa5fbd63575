#pragma once

#include "automation/WordConstants.h"
#include "platform/Units.h"
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

// Levels of elements the reader goes into, each a level of its recursion
// (tables in cells, content controls, hyperlinks in paragraphs, ...). Real
// documents nest a handful; the limit keeps a hostile one from exhausting the
// stack.
inline constexpr int kMaxNestingDepth = 256;

// Numbers are clamped as they are read to the ranges word processors offer,
// so nothing downstream computes with absurd values. Lengths in twips (page
// size and margins, cell widths, paragraph and character spacing) stay within
// 22 inches; a page outside it, or without room for text, is read as Letter.
inline constexpr int kMaxTwips = 22 * platform::units::kTwipsPerInch;
inline constexpr int kMaxRowTwips = 64 * kMaxTwips;  // a table row's cells together
// Font sizes and the size from which pairs are kerned, in half-points: the
// object model's largest at most; a character's raising or lowering within the same.
inline constexpr int kMaxHalfPoints = automation::word::kLargestFontSize * platform::units::kHalfPointsPerPoint;
inline constexpr int kMaxScaling = 600;  // percent of a character's width
// Line spacing in 240ths of a line: a twentieth of a line to 132 lines.
inline constexpr int kMinLineSpacing = 12;
inline constexpr int kMaxLineSpacing = 132 * 240;
inline constexpr int kMaxGridSpan = 63;  // grid columns one cell spans

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
