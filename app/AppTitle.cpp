#include "app/AppTitle.h"

#include "platform/Product.h"

namespace app {

namespace {
QString gTitle;
}

QString applicationTitleFor(const QString& productName)
{
    QString t = productName;
    do {
        const qsizetype p = t.lastIndexOf(QLatin1Char(' '));
        if (p < 0)
            break;
        t = t.left(p);
    } while (t.size() > 40);
    return t;
}

void SetApplicationTitle() { gTitle = applicationTitleFor(QLatin1String(platform::kProductName)); }

QString applicationTitle()
{
    return gTitle.isEmpty() ? applicationTitleFor(QLatin1String(platform::kProductName)) : gTitle;
}

}  // namespace app
