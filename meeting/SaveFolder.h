#pragma once

#include <QString>

namespace meeting {

// The folder a save dialog opens in: the one last saved to, while it is still
// there; otherwise the user's documents folder, or their home when they have
// none. Never the folder the program was started from, which Qt's own dialog
// would show for want of one.
QString saveFolder();

// Keeps the folder of a file just saved for the next save dialog, in this run
// and the next ones.
void rememberSaveFolder(const QString& savedFile);

}  // namespace meeting
