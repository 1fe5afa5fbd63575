#include "app/ErrorReport.h"

#include "app/Dialogs.h"

namespace app {

QString errorReportText(const QString& description, const QString& label, int step)
{
    return description + QStringLiteral("\r\n") + label + QStringLiteral("at line ") + QString::number(step)
           + QStringLiteral("\r\r") + QStringLiteral("Please email screenshot of this message to ")
           + QLatin1String(kSupportAddress);
}

void ErrorReport(const QString& description, const QString& label, int step)
{
    dialogs().messageBox(errorReportText(description, label, step), vbOKOnly | vbExclamation,
                         QLatin1String(kErrorReportCaption));
}

}  // namespace app
