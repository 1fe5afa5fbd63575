#include "app/Guard.h"

#include "app/ErrorReport.h"

namespace app {

QString describeFailure(const std::exception& e)
{
    const QString text = QString::fromUtf8(e.what());
    return text.isEmpty() ? QStringLiteral("Unknown failure") : text;
}

void Guard::report(const QString& description) const { ErrorReport(description, mLabel, mStep); }

}  // namespace app
