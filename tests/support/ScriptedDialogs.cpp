#include "tests/support/ScriptedDialogs.h"

#include "app/ErrorReport.h"

#include <QPrinter>

#include <gtest/gtest.h>

namespace testing_support {

int ScriptedDialogs::messageBox(const QString& text, int style, const QString& caption)
{
    boxes.push_back({caption, text, style});
    if (onBox)
        onBox(boxes.back());
    if ((style & 0x0F) != app::vbYesNo)
        return app::vbOK;
    if (answers.empty()) {
        ADD_FAILURE() << "unscripted question: " << text.toStdString();
        return app::vbNo;
    }
    const int answer = answers.front();
    answers.pop_front();
    return answer;
}

QString ScriptedDialogs::saveFileName(const app::SaveDialogSetup& setup)
{
    fileDialogTitles << setup.caption;
    fileDialogFilters << setup.filter;
    fileDialogFolders << setup.folder;
    fileDialogProposals << setup.proposedName;
    if (fileNames.empty())
        return QString();
    const QString name = fileNames.front();
    fileNames.pop_front();
    return name;
}

bool ScriptedDialogs::print(QPrinter& printer, int pageCount)
{
    ++printDialogsShown;
    printProposals << printer.outputFileName();
    if (printChoices.empty())
        return false;
    const PrintChoice choice = printChoices.front();
    printChoices.pop_front();
    // The real dialog takes no range outside the document's pages.
    EXPECT_LE(choice.toPage, pageCount) << "a page range beyond the document";
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(choice.outputFile.isEmpty() ? printProposals.back() : choice.outputFile);
    if (choice.fromPage > 0) {
        printer.setPrintRange(QPrinter::PageRange);
        printer.setFromTo(choice.fromPage, choice.toPage);
    } else {
        printer.setPrintRange(QPrinter::AllPages);
    }
    printer.setCopyCount(choice.copies);
    return true;
}

std::vector<ShownBox> ScriptedDialogs::errorReports() const
{
    std::vector<ShownBox> out;
    for (const ShownBox& b : boxes)
        if (b.caption == QLatin1String(app::kErrorReportCaption))
            out.push_back(b);
    return out;
}

QStringList ScriptedDialogs::errorReportLines() const
{
    QStringList out;
    for (const ShownBox& b : errorReports())
        out << b.text.section(QStringLiteral("\r\n"), 1).section(QLatin1Char('\r'), 0, 0);
    return out;
}

}  // namespace testing_support
