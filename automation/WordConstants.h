#pragma once

#include <QtGlobal>

// The word processor's object-model constants, as both sides of a late-bound
// call know them: the program passes them by value, the component reads them.
// Their numbers are the object model's own and never change.
namespace automation::word {

// Units of movement and selection.
inline constexpr qint32 wdCharacter = 1;
inline constexpr qint32 wdParagraph = 4;
inline constexpr qint32 wdLine = 5;
inline constexpr qint32 wdStory = 6;

// Whether a movement moves the insertion point or extends the selection.
inline constexpr qint32 wdMove = 0;
inline constexpr qint32 wdExtend = 1;

// What GoTo goes to, and which one.
inline constexpr qint32 wdGoToPage = 1;
inline constexpr qint32 wdGoToAbsolute = 1;
inline constexpr qint32 wdGoToNext = 2;
inline constexpr qint32 wdGoToPrevious = 3;
inline constexpr qint32 wdGoToLast = -1;

// Closing a document: save it, leave it, or ask.
inline constexpr qint32 wdDoNotSaveChanges = 0;
inline constexpr qint32 wdSaveChanges = -1;
inline constexpr qint32 wdPromptToSaveChanges = -2;

// The largest font size the object model accepts, in points; the smallest is 1.
inline constexpr int kLargestFontSize = 1638;

// Underline kinds (the ones a document file can also hold).
inline constexpr qint32 wdUnderlineNone = 0;
inline constexpr qint32 wdUnderlineSingle = 1;
inline constexpr qint32 wdUnderlineWords = 2;
inline constexpr qint32 wdUnderlineDouble = 3;
inline constexpr qint32 wdUnderlineDotted = 4;
inline constexpr qint32 wdUnderlineThick = 6;
inline constexpr qint32 wdUnderlineDash = 7;
inline constexpr qint32 wdUnderlineWavy = 11;

// Text animation: none is the only one a document still shows.
inline constexpr qint32 wdAnimationNone = 0;

// Colours pass as 0x00BBGGRR (platform/Colour.h); this one means automatic:
// black text on a light background.
inline constexpr qint32 wdColorAutomatic = qint32(0xFF000000u);

// Built-in document properties, by index.
inline constexpr qint32 wdPropertyTitle = 1;
inline constexpr qint32 wdPropertyAuthor = 3;
inline constexpr qint32 wdPropertyPages = 14;

}  // namespace automation::word
