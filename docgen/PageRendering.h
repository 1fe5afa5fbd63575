#pragma once

#include <QString>

namespace docgen {

class GenerationHost;

// Renders a saved document page by page, through the clipboard, into the
// preview's page list and pictures; returns how many pages it added to the list.
int SaveDocAsJPG(GenerationHost& host, const QString& inFile);

}  // namespace docgen
