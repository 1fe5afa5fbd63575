#pragma once

#include "automation/WordConstants.h"

#include <QString>
#include <QtGlobal>
#include <optional>

namespace wordproc {

inline constexpr qint32 kAutomatic = automation::word::wdColorAutomatic;

enum Underline : int {
    UnderlineNone = automation::word::wdUnderlineNone,
    UnderlineSingle = automation::word::wdUnderlineSingle,
    UnderlineWords = automation::word::wdUnderlineWords,
    UnderlineDouble = automation::word::wdUnderlineDouble,
    UnderlineDotted = automation::word::wdUnderlineDotted,
    UnderlineThick = automation::word::wdUnderlineThick,
    UnderlineDash = automation::word::wdUnderlineDash,
    UnderlineWavy = automation::word::wdUnderlineWavy
};

// The character format: every attribute a run can carry. An unset attribute
// is taken from the paragraph's style chain, then the document's defaults.
struct CharFormat {
    std::optional<QString> name;
    std::optional<double> size;  // points
    std::optional<bool> bold;
    std::optional<bool> italic;
    std::optional<int> underline;
    std::optional<qint32> underlineColor;
    std::optional<bool> strike;
    std::optional<bool> doubleStrike;
    std::optional<bool> outline;
    std::optional<bool> emboss;
    std::optional<bool> shadow;
    std::optional<bool> hidden;
    std::optional<bool> smallCaps;
    std::optional<bool> allCaps;
    std::optional<qint32> color;
    std::optional<bool> engrave;
    std::optional<bool> superscript;
    std::optional<bool> subscript;
    std::optional<double> spacing;  // points between characters
    std::optional<int> scaling;  // percent
    std::optional<int> position;  // points raised (negative: lowered)
    std::optional<int> kerning;  // points from which pairs are kerned; 0 is off
    std::optional<int> animation;

    // Takes every attribute that `over` sets.
    void overlay(const CharFormat& over);
    // Every attribute set, the unset ones from the built-in defaults.
    CharFormat complete() const;
    bool operator==(const CharFormat&) const = default;
};

enum class Align { Left, Center, Right, Justify };

struct ParaFormat {
    std::optional<Align> align;
    std::optional<int> outlineLevel;  // 1 to 9
    std::optional<int> spaceBefore;  // twips
    std::optional<int> spaceAfter;  // twips
    std::optional<int> lineSpacing;  // 240ths of a line
    void overlay(const ParaFormat& over);
    bool operator==(const ParaFormat&) const = default;
};

// 0x00BBGGRR and "RRGGBB" as files write it.
QString colourToHex(qint32 bgr);
std::optional<qint32> colourFromHex(const QString& hex);  // "auto" gives kAutomatic

}  // namespace wordproc
