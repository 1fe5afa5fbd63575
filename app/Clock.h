#pragma once

#include <QDateTime>
#include <functional>

namespace app::clock {

// The wall-clock date and time of day. Held as Qt::UTC so
// that a time of day never shifts across a daylight-saving change; tests set
// their own "now".
QDateTime now();
void setNow(std::function<QDateTime()> source);  // empty restores the real clock

}  // namespace app::clock
