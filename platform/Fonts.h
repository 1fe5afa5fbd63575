#pragma once

#include <QFont>
#include <QString>
#include <QStringView>

namespace platform {

// Makes the fonts that pictures and documents name available to Qt: the
// Tahoma of the system's fonts for Windows programs, or a substitute.
void ensurePlatformFonts();

// A font of `family` for a document's text. Where a character is in no
// installed font, it comes from a last-resort family that draws it as an
// empty box, a glyph of its own, so that its text still reaches a PDF (a
// missing glyph maps back to no text); that family holds only what
// `coverCharacters` found missing, so it never stands in for a character
// another font has. Make fonts after the text's characters are covered.
QFont documentFont(const QString& family);

// Looks up each character of `text` not looked up before, and adds those no
// installed font has to the last-resort family (characters of the Basic
// Multilingual Plane, the ones a PDF's text can be given back for). Cheap for
// characters already seen.
void coverCharacters(QStringView text);

}  // namespace platform
