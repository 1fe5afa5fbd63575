#include "app/Dialogs.h"

#include "app/AppTitle.h"
#include "app/Termination.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <utility>

namespace app {

namespace {
Dialogs* gOverride = nullptr;

// A message box wraps at blanks only: a long path or link would run off its
// edge. Long runs without a blank get invisible break opportunities, after
// each folder separator and at least every 40 characters.
QString breakableForDisplay(const QString& text)
{
    constexpr int kLongest = 40;
    QString out;
    out.reserve(text.size() + text.size() / kLongest);
    int run = 0;
    for (const QChar c : text) {
        out += c;
        run = c.isSpace() ? 0 : run + 1;
        if (run > 0 && (run >= kLongest || c == u'/' || c == u'\\')) {
            out += QChar(0x200B);  // zero width space
            run = 0;
        }
    }
    return out;
}
}  // namespace

Dialogs& dialogs()
{
    static QtDialogs production;
    return gOverride ? *gOverride : production;
}

Dialogs* setDialogs(Dialogs* d) { return std::exchange(gOverride, d); }

int MsgBox(const QString& text, int style, const QString& caption)
{
    return dialogs().messageBox(text, style, caption.isEmpty() ? applicationTitle() : caption);
}

int QtDialogs::messageBox(const QString& text, int style, const QString& caption)
{
    const bool question = (style & 0x0F) == vbYesNo;
    if (stopRequested())
        return question ? vbNo : vbOK;
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(caption);
    // Texts keep the platform's line ends (CR LF, and bare CRs in the error
    // report); on screen each of them is one line break.
    QString shown = text;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    box.setText(breakableForDisplay(shown));
    box.setTextFormat(Qt::PlainText);
    switch (style & 0x70) {
    case vbCritical: box.setIcon(QMessageBox::Critical); break;
    case vbQuestion: box.setIcon(QMessageBox::Question); break;
    case vbExclamation: box.setIcon(QMessageBox::Warning); break;
    case vbInformation: box.setIcon(QMessageBox::Information); break;
    default: box.setIcon(QMessageBox::NoIcon); break;
    }
    if (question) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton((style & vbDefaultButton2) ? QMessageBox::No : QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::No);
        // A stop closes the box; whatever it says then, the answer is No.
        return box.exec() == QMessageBox::Yes && !stopRequested() ? vbYes : vbNo;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return vbOK;
}

QString QtDialogs::saveFileName(const SaveDialogSetup& setup)
{
    if (stopRequested())
        return QString();
    // The program asks its own overwrite question and keeps the name exactly
    // as typed, so the dialog must do neither.
    QFileDialog dialog(QApplication::activeWindow(), setup.caption, setup.folder, setup.filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    dialog.setDefaultSuffix(QString());
    dialog.selectFile(setup.proposedName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty() || stopRequested())
        return QString();
    return dialog.selectedFiles().constFirst();
}

bool QtDialogs::print(QPrinter& printer, int pageCount)
{
    if (stopRequested())
        return false;
    QPrintDialog dialog(&printer, QApplication::activeWindow());
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintPageRange
                      | QAbstractPrintDialog::PrintCollateCopies | QAbstractPrintDialog::PrintShowPageSize);
    dialog.setMinMax(1, pageCount);
    return dialog.exec() == QDialog::Accepted && !stopRequested();
}

}  // namespace app
