#pragma once

#include "automation/Object.h"

namespace wordproc {

// The component's face to the program: "Word.Application" and the objects
// reached from it, each member called by name. The objects only map names to
// the word processor, which does the work; each family has its own file
// (DocumentObjects, TableObjects, TextObjects), this one the application.
automation::ObjectPtr createWordApplication();

// Registers "Word.Application" with the automation registry.
void registerComponent();

}  // namespace wordproc
