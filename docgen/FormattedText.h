#pragma once

#include "automation/Object.h"

namespace docgen {

// The word processor's selection (Application.Selection): where text is typed
// and what the moves and copies of a run act on.
automation::ObjectPtr selection(const automation::ObjectPtr& winWord);

// Gives the word processor's selection a complete set of 23 character
// attributes, then types the text there. A failure stops it where it
// happens; what was set before stays set.
void setFont(const automation::ObjectPtr& winWord, const QString& strText, qint16 intFontSize,
             const QString& strFontFamily, qint32 lngColor, bool blnAllCaps, bool blnbold);

}  // namespace docgen
