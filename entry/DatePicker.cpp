#include "entry/DatePicker.h"

#include "app/Clock.h"

#include <QCheckBox>
#include <QDateTimeEdit>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QSignalBlocker>

#include <stdexcept>

namespace entry {

namespace {

const QDateTime kFirstDate(QDate(1601, 1, 1), QTime(0, 0), Qt::UTC);
const QDateTime kLastDate(QDate(9999, 12, 31), QTime(23, 59, 59, 999), Qt::UTC);

// Tab leaves the picker for the next field, as in every other field of the
// window; the arrow keys move between the day, month and year. In a picker
// with a check box, Space ticks the box off.
class PickerEdit : public QDateTimeEdit {
public:
    PickerEdit(QCheckBox* check, QWidget* parent) : QDateTimeEdit(parent), mCheck(check) {}

protected:
    bool focusNextPrevChild(bool next) override { return QWidget::focusNextPrevChild(next); }
    void keyPressEvent(QKeyEvent* e) override
    {
        if (mCheck && e->key() == Qt::Key_Space && e->modifiers() == Qt::NoModifier) {
            mCheck->toggle();
            return;
        }
        QDateTimeEdit::keyPressEvent(e);
    }

private:
    QCheckBox* mCheck;
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
    mEdit = new PickerEdit(mCheck, this);
    mEdit->setTimeSpec(Qt::UTC);  // wall-clock values: no daylight-saving gaps
    mEdit->setDateTimeRange(kFirstDate, kLastDate);
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
        enableDate(value.has_value());
    }
}

void DatePicker::enableDate(bool enable)
{
    // One stop in the Tab order, ticked or not: the box while the deadline is
    // absent, the date once it is set. The focus stays in the picker.
    const bool hadFocus = mCheck->hasFocus() || mEdit->hasFocus();
    mCheck->setFocusPolicy(enable ? Qt::NoFocus : Qt::StrongFocus);
    if (!enable && hadFocus)
        mCheck->setFocus(Qt::OtherFocusReason);
    mEdit->setEnabled(enable);
    if (enable && hadFocus)
        mEdit->setFocus(Qt::OtherFocusReason);
}

void DatePicker::setValue(const meeting::MaybeDate& value)
{
    if (value && (*value < kFirstDate || *value > kLastDate))
        throw std::runtime_error(QStringLiteral("Invalid property value: %1 is outside the dates a picker takes "
                                                "(01-Jan-1601 to 31-Dec-9999)")
                                     .arg(value->date().toString(Qt::ISODate))
                                     .toStdString());
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
    enableDate(ticked);
    setValue(ticked ? meeting::MaybeDate(QDateTime(mEdit->date(), QTime(0, 0), Qt::UTC)) : meeting::MaybeDate());
}

}  // namespace entry
