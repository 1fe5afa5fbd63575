#pragma once

#include <QString>

namespace app {

// Where the program finds its folders. Tests set these; production asks the
// process environment.
namespace environment {

// The temporary folder: the variable "TEMP" when it is set and not empty,
// otherwise a private per-user folder (mode 0700) under the system's temporary
// location, created when missing. When another user (or a link) holds that
// folder's name, a fresh private folder with a random name is made instead and
// kept for the rest of the run, and the user is told once. Throws with a clear
// description when no private folder can be made.
QString tempFolder();

// The private per-user folder itself, where the program's files go when the
// temporary folder holds another user's file under one of their names.
QString privateTempFolder();

// The folder that holds the program file (or the one a test has set).
QString programFolder();
QString setProgramFolder(QString folder);  // empty restores the real one

}  // namespace environment

}  // namespace app
