#pragma once

#include <QDateTime>
#include <functional>

namespace app::clock {

// The wall-clock date and time of day. Held as Qt::UTC so
// that a time of day never shifts across a daylight-saving change; tests set
// their own "now".
QDateTime now();
// Like every seam of the program, returns what it replaces; empty restores the real clock.
std::function<QDateTime()> setNow(std::function<QDateTime()> source);

}  // namespace app::clock
