#pragma once

#include <QString>
#include <stdexcept>

namespace automation {

// Every failure of a late-bound call. The text is what the user reads in the
// error report, so it names the identifier or member concerned.
class AutomationError : public std::runtime_error {
public:
    explicit AutomationError(const QString& description)
        : std::runtime_error(description.toStdString()), mDescription(description)
    {}
    const QString& description() const { return mDescription; }

private:
    QString mDescription;
};

}  // namespace automation
