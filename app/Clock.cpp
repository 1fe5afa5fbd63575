#include "app/Clock.h"

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

void setNow(std::function<QDateTime()> source) { gSource = std::move(source); }

}  // namespace app::clock
