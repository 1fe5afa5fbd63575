#pragma once

#include "meeting/RecordStorage.h"

#include <QWidget>

class QCheckBox;
class QDateTimeEdit;

namespace entry {

// A date picker with a custom display format, accepting 1 January 1601 to
// 31 December 9999. With a check box, an unticked box means "absent"; a date
// ticked or picked by the user carries no time of day.
class DatePicker : public QWidget {
    Q_OBJECT
public:
    DatePicker(const QString& displayFormat, bool withCheckBox, QWidget* parent = nullptr);

    meeting::MaybeDate value() const { return mValue; }
    // Sets the value (absent unticks the box); emits changed() when it differs.
    // A date outside 1601 to 9999 throws: no picker can show it.
    void setValue(const meeting::MaybeDate& value);

    QCheckBox* checkBox() const { return mCheck; }
    QDateTimeEdit* edit() const { return mEdit; }

signals:
    void changed();

private:
    void userEdited();
    void userTicked(bool ticked);
    void show(const meeting::MaybeDate& value);
    void enableDate(bool enable);

    QCheckBox* mCheck = nullptr;
    QDateTimeEdit* mEdit = nullptr;
    meeting::MaybeDate mValue;
};

}  // namespace entry
