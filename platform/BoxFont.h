#pragma once

#include <QByteArray>
#include <QString>
#include <vector>

namespace platform {

// A TrueType font named `family` that draws each of `characters` as an empty
// box, every one its own glyph (glyph i + 1 for characters[i]), so a PDF
// writer maps each box back to its character. Characters of the Basic
// Multilingual Plane only; others are left out.
QByteArray boxFont(const QString& family, const std::vector<char16_t>& characters);

}  // namespace platform
