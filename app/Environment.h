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
// temporary folder is not the user's alone.
QString privateTempFolder();

// What other users can do in a folder. Read from the folder as opened, so
// that the answer is about the folder the name led to.
enum class Sharing {
    Private,  // nobody else can put a file there
    OthersCreate,  // others can add files, but the sticky bit keeps ours from them
    OthersReplace,  // others can replace or remove the user's files there
};
// Throws with a clear description when the folder can't be opened.
Sharing sharingOf(const QString& folder);

// Where a run keeps the document it makes and the pictures of its pages: the
// temporary folder, unless others can replace files there.
QString documentFolder();

// The folder that holds the program file (or the one a test has set).
QString programFolder();
QString setProgramFolder(QString folder);  // empty restores the real one

}  // namespace environment

}  // namespace app
