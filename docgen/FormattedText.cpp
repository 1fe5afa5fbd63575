#include "docgen/FormattedText.h"

#include "automation/WordConstants.h"

namespace docgen {

using automation::get;
using automation::named;
using automation::ObjectPtr;
using automation::put;
using automation::Value;

ObjectPtr selection(const ObjectPtr& winWord)
{
    return get(get(winWord, QStringLiteral("Application")).toObject(), QStringLiteral("Selection")).toObject();
}

void setFont(const ObjectPtr& winWord, const QString& strText, qint16 intFontSize, const QString& strFontFamily,
             qint32 lngColor, bool blnAllCaps, bool blnbold)
{
    const ObjectPtr font = get(selection(winWord), QStringLiteral("Font")).toObject();
    put(font, QStringLiteral("Name"), strFontFamily);
    put(font, QStringLiteral("Size"), intFontSize);
    put(font, QStringLiteral("Bold"), blnbold);
    put(font, QStringLiteral("Italic"), false);
    put(font, QStringLiteral("Underline"), qint16(automation::word::wdUnderlineNone));
    put(font, QStringLiteral("UnderlineColor"), automation::word::wdColorAutomatic);
    put(font, QStringLiteral("Strikethrough"), false);
    put(font, QStringLiteral("DoubleStrikeThrough"), false);
    put(font, QStringLiteral("Outline"), false);
    put(font, QStringLiteral("Emboss"), false);
    put(font, QStringLiteral("Shadow"), false);
    put(font, QStringLiteral("Hidden"), false);
    put(font, QStringLiteral("SmallCaps"), false);
    put(font, QStringLiteral("AllCaps"), blnAllCaps);
    put(font, QStringLiteral("Color"),
        lngColor == 0 ? automation::word::wdColorAutomatic : lngColor);  // 0 is automatic, not black
    put(font, QStringLiteral("Engrave"), false);
    put(font, QStringLiteral("Superscript"), false);
    put(font, QStringLiteral("Subscript"), false);
    put(font, QStringLiteral("Spacing"), 0.2);
    put(font, QStringLiteral("Scaling"), qint16(100));
    put(font, QStringLiteral("Position"), qint16(0));
    put(font, QStringLiteral("Kerning"), qint16(0));
    put(font, QStringLiteral("Animation"), qint16(automation::word::wdAnimationNone));

    automation::call(selection(winWord), QStringLiteral("TypeText"), {named(QStringLiteral("Text"), Value(strText))});
}

}  // namespace docgen
