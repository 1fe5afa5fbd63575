#include "entry/DatePicker.h"

#include "app/Clock.h"

#include <QCheckBox>
#include <QDateTimeEdit>
#include <QHBoxLayout>
#include <QSignalBlocker>

namespace entry {

namespace {

// Tab leaves the picker for the next field, as in every other field of the
// window; the arrow keys move between the day, month and year.
class PickerEdit : public QDateTimeEdit {
public:
    using QDateTimeEdit::QDateTimeEdit;

protected:
    bool focusNextPrevChild(bool next) override { return QWidget::focusNextPrevChild(next); }
};

}  // namespace

DatePicker::DatePicker(const QString& displayFormat, bool withCheckBox, QWidget* parent) : QWidget(parent)
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    if (withCheckBox) {
        mCheck = new QCheckBox(this);
        // Clear of the holder's clipped edge, like the box inside a picker's border.
        layout->addSpacing(5);
        layout->addWidget(mCheck, 0, Qt::AlignVCenter);
        layout->addSpacing(2);
        connect(mCheck, &QCheckBox::toggled, this, &DatePicker::userTicked);
    }
    mEdit = new PickerEdit(this);
    mEdit->setTimeSpec(Qt::UTC);  // wall-clock values: no daylight-saving gaps
    mEdit->setDateTimeRange(QDateTime(QDate(1601, 1, 1), QTime(0, 0), Qt::UTC),
                            QDateTime(QDate(9999, 12, 31), QTime(23, 59, 59, 999), Qt::UTC));
    mEdit->setDisplayFormat(displayFormat);
    mEdit->setCalendarPopup(true);
    layout->addWidget(mEdit, 1);
    connect(mEdit, &QDateTimeEdit::dateTimeChanged, this, &DatePicker::userEdited);

    // Until a value is set the picker shows today, ticked or not.
    const QDateTime today(app::clock::now().date(), QTime(0, 0), Qt::UTC);
    mEdit->setDateTime(today);
    show(withCheckBox ? meeting::MaybeDate() : meeting::MaybeDate(today));
    if (!withCheckBox)
        mValue = today;
}

void DatePicker::show(const meeting::MaybeDate& value)
{
    const QSignalBlocker blockEdit(mEdit);
    if (value)
        mEdit->setDateTime(*value);
    if (mCheck) {
        const QSignalBlocker blockCheck(mCheck);
        mCheck->setChecked(value.has_value());
        mEdit->setEnabled(value.has_value());
    }
}

void DatePicker::setValue(const meeting::MaybeDate& value)
{
    const meeting::MaybeDate v = mCheck || value ? value : mValue;  // a plain picker always holds one
    show(v);
    if (v == mValue)
        return;
    mValue = v;
    emit changed();
}

void DatePicker::userEdited()
{
    if (mCheck && !mCheck->isChecked())
        return;  // the shown date means nothing while the deadline is absent
    QDateTime picked = mEdit->dateTime();
    if (mCheck)
        picked = QDateTime(picked.date(), QTime(0, 0), Qt::UTC);
    if (picked == mValue)
        return;
    mValue = picked;
    emit changed();
}

void DatePicker::userTicked(bool ticked)
{
    mEdit->setEnabled(ticked);
    setValue(ticked ? meeting::MaybeDate(QDateTime(mEdit->date(), QTime(0, 0), Qt::UTC)) : meeting::MaybeDate());
}

}  // namespace entry
