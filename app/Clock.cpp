#include "app/Clock.h"
#include <utility>

namespace app::clock {

namespace {
std::function<QDateTime()> gSource;
}

QDateTime now()
{
    if (gSource)
        return gSource();
    const QDateTime local = QDateTime::currentDateTime();
    return QDateTime(local.date(), local.time(), Qt::UTC);
}

std::function<QDateTime()> setNow(std::function<QDateTime()> source)
{
    return std::exchange(gSource, std::move(source));
}

}  // namespace app::clock
