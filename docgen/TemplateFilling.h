#pragma once

#include "meeting/RecordStorage.h"

#include <QDateTime>
#include <QString>

namespace docgen {

class GenerationHost;

// "Start Creating Template": the meeting typed into the template, saved under
// a fresh name in the temporary folder, rendered page by page and shown.
void fillTemplate(GenerationHost& host);

// The date and time texts of the header, and a deadline's text.
QString meetingDateText(const QDateTime& value);
QString meetingTimeText(const QDateTime& value);
QString deadlineText(const meeting::MaybeDate& value);

}  // namespace docgen
