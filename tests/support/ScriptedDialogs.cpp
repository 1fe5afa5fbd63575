#include "tests/support/ScriptedDialogs.h"

#include "app/ErrorReport.h"

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

QString ScriptedDialogs::saveFileName(const QString& title, const QString& filter)
{
    fileDialogTitles << title;
    fileDialogFilters << filter;
    if (fileNames.empty())
        return QString();
    const QString name = fileNames.front();
    fileNames.pop_front();
    return name;
}

std::vector<ShownBox> ScriptedDialogs::errorReports() const
{
    std::vector<ShownBox> out;
    for (const ShownBox& b : boxes)
        if (b.caption == QLatin1String(app::kErrorReportCaption))
            out.push_back(b);
    return out;
}

}  // namespace testing_support
