#pragma once

#include <QString>

namespace docgen {

class GenerationHost;

// Renders a saved document page by page, through the clipboard, into the
// preview's page list and pictures.
void SaveDocAsJPG(GenerationHost& host, const QString& inFile);

}  // namespace docgen
