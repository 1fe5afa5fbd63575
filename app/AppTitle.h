#pragma once

#include <QString>

namespace app {

// The application title for a product name: the last word and the space before
// it are dropped, then further words while the result is longer than 40
// characters. Where no space is left, the text stands as it is (so a one-word
// name such as "Corvalin" is its own title).
QString applicationTitleFor(const QString& productName);

// Derives the title from the product name and makes it the process's title.
void SetApplicationTitle();

// The title in force: every message box without a caption of its own shows it.
QString applicationTitle();

}  // namespace app
