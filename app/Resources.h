#pragma once

#include <QByteArray>
#include <QString>

namespace app {

// One of the program's own resources, by type and number, as one byte array.
// Throws with a description when the program carries no such resource.
QByteArray LoadResData(int id, const QString& type);

}  // namespace app
