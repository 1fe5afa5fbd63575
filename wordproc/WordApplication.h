#pragma once

#include "automation/Object.h"

namespace wordproc {

// The component's face to the program: "Word.Application" and the objects
// reached from it, each member called by name. Only the mapping to the engine
// lives here; the engine does the work.
automation::ObjectPtr createWordApplication();

// Registers "Word.Application" with the automation registry.
void registerComponent();

}  // namespace wordproc
