#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>
#include <optional>

namespace meeting {

// The regional settings dates are written in: the system's, unless a test
// sets another.
QLocale regionalLocale();
// Returns the one it replaces; none restores the system's.
std::optional<QLocale> setRegionalLocale(std::optional<QLocale> locale);

// The general date-time text of the regional settings: the short date (always
// with a four-digit year, so that 1601 never turns into 1901 on the way back),
// then one blank and the long time when the time of day is not 00:00:00.
QString dateToText(const QDateTime& value, const QLocale& locale = regionalLocale());

// Reads such a text back. Throws with a description when it is not a date.
QDateTime textToDate(const QString& text, const QLocale& locale = regionalLocale());

// A stored text as an error message quotes it: whole up to 60 characters
// (UTF-16 units), else the most of it that fits, cut between characters, and "...".
QString quotedInMessage(const QString& text);

// The formats used, exposed for the tests of odd locales.
QString shortDateFormat(const QLocale& locale);
QString longTimeFormat(const QLocale& locale);

}  // namespace meeting
