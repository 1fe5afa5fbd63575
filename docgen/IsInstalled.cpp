#include "docgen/IsInstalled.h"

#include "app/Application.h"
#include "app/Dialogs.h"
#include "automation/Registry.h"

namespace docgen {

QString wordUnavailableMessage()
{
    return QStringList(
               {
                   QStringLiteral("Error 842001. A normal instance of Word could not be created."),
                   QStringLiteral("1. Please make sure Word is installed on this computer."),
                   QStringLiteral(
                       "2. Please open Word normally and make sure a blank document opens immediately without "
                       "any interrupting window (such as an Word file recovery window)."),
                   QStringLiteral(
                       "3. Please make sure that when you double-click on a DOC or DOCX file that Word opens "
                       "normally without any interrupting messages."),
                   QStringLiteral("4. All versions of Word are supported by this software except for the rare Word "
                                  "Starter and Student editions."),
               })
        .join(QStringLiteral("\r\n\r\n"));
}

void CheckWordAvailable()
{
    automation::ObjectPtr word;
    try {
        word = automation::CreateObject(QStringLiteral("Word.Application"));
    } catch (...) {
        // A failed start is what this check is for; the message below says it.
    }
    if (!word) {
        app::MsgBox(wordUnavailableMessage(), app::vbOKOnly);
        app::endProgram();
    }
    try {
        automation::call(word, QStringLiteral("quit"));
    } catch (...) {
        // The instance could not be asked to quit; start-up goes on regardless.
    }
}

}  // namespace docgen
