#pragma once

namespace app {

// When the system asks the program to stop (SIGTERM at logout or from kill,
// SIGHUP when its terminal goes, SIGINT from Ctrl+C), its windows are closed
// as the user would close them, so the document it keeps in the temporary
// folder goes with it. A run under way or a question on screen is modal and
// is let finish first: closing under it would lose its work.
void closeWindowsOnStopSignals();

}  // namespace app
