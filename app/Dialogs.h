#pragma once

#include <QString>

class QPrinter;

namespace app {

// Message-box styles and answers, with the platform's numeric values so that a
// style reads the same here as in a recorded test.
enum MsgBoxStyle : int {
    vbOKOnly = 0,
    vbYesNo = 4,
    vbCritical = 16,
    vbQuestion = 32,
    vbExclamation = 48,
    vbInformation = 64,
    vbDefaultButton2 = 256,  // the second button (No) is the default
};
enum MsgBoxResult : int { vbOK = 1, vbCancel = 2, vbYes = 6, vbNo = 7 };

// How a save dialog opens: its caption and filter, the folder it shows and the
// name it proposes (none when empty).
struct SaveDialogSetup {
    QString caption;
    QString filter;
    QString folder;
    QString proposedName;
};

// Everything the program asks or tells the user in a modal box goes through
// here, so tests can stand a scripted double in for the real boxes.
class Dialogs {
public:
    virtual ~Dialogs() = default;
    // Shows text with the style's buttons and icon; returns the button pressed.
    virtual int messageBox(const QString& text, int style, const QString& caption) = 0;
    // Asks for a file name to save to; an empty result means the user cancelled.
    virtual QString saveFileName(const SaveDialogSetup& setup) = 0;
    // The platform's print dialog on `printer`, which comes set up with the
    // document's paper and the file it would print to, for a range within
    // pages 1 to `pageCount`; false when the user cancelled.
    virtual bool print(QPrinter& printer, int pageCount) = 0;
};

// The dialogs in force: the production ones unless a test has set others.
Dialogs& dialogs();
// Stands another implementation in (not owned); nullptr puts production back.
Dialogs* setDialogs(Dialogs* d);

// A message box; without a caption of its own it shows the application title.
int MsgBox(const QString& text, int style = vbOKOnly, const QString& caption = QString());

// The production implementation: QMessageBox, QFileDialog and QPrintDialog.
// Once a stop has been asked for, none of them waits for an answer: each
// gives the safe one (No, OK, a cancelled dialog) at once.
class QtDialogs : public Dialogs {
public:
    int messageBox(const QString& text, int style, const QString& caption) override;
    QString saveFileName(const SaveDialogSetup& setup) override;
    bool print(QPrinter& printer, int pageCount) override;
};

}  // namespace app
