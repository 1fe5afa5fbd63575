#pragma once

#include "app/Dialogs.h"
#include "tests/support/Seams.h"

#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <vector>

namespace testing_support {

struct ShownBox {
    QString caption;
    QString text;
    int style = 0;
};

// Stands in for the real boxes while it lives: records every box and answers
// as the test tells it. An unscripted Yes/No question fails the test.
class ScriptedDialogs : public app::Dialogs {
public:
    ScriptedDialogs() = default;

    int messageBox(const QString& text, int style, const QString& caption) override;
    QString saveFileName(const QString& title, const QString& filter) override;

    // The error reports among the boxes, in order.
    std::vector<ShownBox> errorReports() const;

    std::vector<ShownBox> boxes;
    std::deque<int> answers;  // for Yes/No questions
    std::deque<QString> fileNames;  // for the save dialog; "" cancels
    QStringList fileDialogTitles;
    QStringList fileDialogFilters;
    std::function<void(const ShownBox&)> onBox;  // runs while a box is "up"

private:
    DialogsOverride mInstalled{this};
};

}  // namespace testing_support
