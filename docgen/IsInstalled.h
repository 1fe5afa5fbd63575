#pragma once

#include <QString>

namespace docgen {

// The message shown when the word processor can't be started.
QString wordUnavailableMessage();

// Makes sure the word processor can be started: creates one instance and
// quits it. When it can't be created, tells the user what to check and ends
// the program. Nothing in it is ever reported as an error.
void CheckWordAvailable();

}  // namespace docgen
