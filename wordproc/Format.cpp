#include "wordproc/Format.h"

#include "platform/Colour.h"

namespace wordproc {

namespace {
template <class T> void take(std::optional<T>& mine, const std::optional<T>& theirs)
{
    if (theirs)
        mine = theirs;
}
}  // namespace

void CharFormat::overlay(const CharFormat& o)
{
    take(name, o.name);
    take(size, o.size);
    take(bold, o.bold);
    take(italic, o.italic);
    take(underline, o.underline);
    take(underlineColor, o.underlineColor);
    take(strike, o.strike);
    take(doubleStrike, o.doubleStrike);
    take(outline, o.outline);
    take(emboss, o.emboss);
    take(shadow, o.shadow);
    take(hidden, o.hidden);
    take(smallCaps, o.smallCaps);
    take(allCaps, o.allCaps);
    take(color, o.color);
    take(engrave, o.engrave);
    take(superscript, o.superscript);
    take(subscript, o.subscript);
    take(spacing, o.spacing);
    take(scaling, o.scaling);
    take(position, o.position);
    take(kerning, o.kerning);
    take(animation, o.animation);
}

CharFormat CharFormat::complete() const
{
    CharFormat c;
    c.name = QStringLiteral("Times New Roman");
    c.size = 10;
    c.bold = c.italic = c.strike = c.doubleStrike = c.outline = c.emboss = c.shadow = c.hidden = false;
    c.smallCaps = c.allCaps = c.engrave = c.superscript = c.subscript = false;
    c.underline = UnderlineNone;
    c.underlineColor = c.color = kAutomatic;
    c.spacing = 0;
    c.scaling = 100;
    c.position = c.kerning = c.animation = 0;
    c.overlay(*this);
    return c;
}

void ParaFormat::overlay(const ParaFormat& o)
{
    take(align, o.align);
    take(outlineLevel, o.outlineLevel);
    take(spaceBefore, o.spaceBefore);
    take(spaceAfter, o.spaceAfter);
    take(lineSpacing, o.lineSpacing);
}

QString colourToHex(qint32 bgr)
{
    if (bgr == kAutomatic)
        return QStringLiteral("auto");
    return platform::fromBgr(static_cast<quint32>(bgr)).name(QColor::HexRgb).mid(1).toUpper();
}

std::optional<qint32> colourFromHex(const QString& hex)
{
    if (hex.compare(QLatin1String("auto"), Qt::CaseInsensitive) == 0)
        return kAutomatic;
    bool ok = false;
    const uint rgb = hex.toUInt(&ok, 16);
    if (!ok || hex.size() != 6)
        return std::nullopt;
    return static_cast<qint32>(platform::toBgr(QColor::fromRgb(QRgb(rgb))));
}

}  // namespace wordproc
