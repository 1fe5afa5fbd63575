#pragma once

#include <QString>

namespace app {

inline constexpr char kSupportAddress[] = "support@tessaly.com";
inline constexpr char kErrorReportCaption[] = "Application Error";

// The report text: description, CR LF, label, "at line ", step, CR CR, and the
// request to e-mail a screenshot to the support address.
QString errorReportText(const QString& description, const QString& label, int step);

// Shows the modal report (exclamation icon, OK) and returns when it is closed.
void ErrorReport(const QString& description, const QString& label, int step);

}  // namespace app
