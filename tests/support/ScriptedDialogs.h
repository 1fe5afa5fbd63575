#pragma once

#include "app/Dialogs.h"
#include "tests/support/Seams.h"

#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <vector>

namespace testing_support {

// What the user chooses in the print dialog: printing to a file (the one
// printer every machine has; empty takes the file the dialog proposes), a
// page range (0 to 0: all pages) and copies.
struct PrintChoice {
    QString outputFile;
    int fromPage = 0;
    int toPage = 0;
    int copies = 1;
};

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
    QString saveFileName(const app::SaveDialogSetup& setup) override;
    bool print(QPrinter& printer, int pageCount) override;

    // The error reports among the boxes, in order.
    std::vector<ShownBox> errorReports() const;
    // Where each error report says its procedure stopped: the report's second
    // line ("in LABEL at line N").
    QStringList errorReportLines() const;

    std::vector<ShownBox> boxes;
    std::deque<int> answers;  // for Yes/No questions
    std::deque<QString> fileNames;  // for the save dialog; "" cancels
    QStringList fileDialogTitles;
    QStringList fileDialogFilters;
    QStringList fileDialogFolders;
    QStringList fileDialogProposals;
    std::deque<PrintChoice> printChoices;  // none left: the print dialog is cancelled
    int printDialogsShown = 0;
    QStringList printProposals;  // the file each print dialog proposed
    std::function<void(const ShownBox&)> onBox;  // runs while a box is "up"

private:
    DialogsOverride mInstalled{this};
};

}  // namespace testing_support
