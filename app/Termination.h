#pragma once

#include <functional>

namespace app {

// When the system asks the program to stop (SIGTERM at logout or from kill,
// SIGHUP when its terminal goes, SIGINT from Ctrl+C), nobody may be there to
// answer a question, so from then on no box waits: the boxes on screen are
// closed with their safe answer (No, Cancel or OK), later ones answer it at
// once, a run under way is let finish (stopping it halfway would leave its
// files behind), and then the windows are closed as the user would close
// them, so the document in the temporary folder goes with them.
void closeWindowsOnStopSignals();

// Whether a stop has been asked for. Tests set it back (the setter returns
// the value it replaces).
bool stopRequested();
bool setStopRequested(bool requested);

// Asked before the windows are closed on a stop: true while work that must
// not be cut short (a run) is under way. The window that owns the work
// stands it in; the setter returns what it replaces.
using WorkUnderWay = std::function<bool()>;
WorkUnderWay setWorkUnderWay(WorkUnderWay query);

}  // namespace app
