#include "app/Dialogs.h"

#include "app/AppTitle.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

namespace app {

namespace {
Dialogs* gOverride = nullptr;
}

Dialogs& dialogs()
{
    static QtDialogs production;
    return gOverride ? *gOverride : production;
}

void setDialogs(Dialogs* d) { gOverride = d; }

int MsgBox(const QString& text, int style, const QString& caption)
{
    return dialogs().messageBox(text, style, caption.isEmpty() ? applicationTitle() : caption);
}

int QtDialogs::messageBox(const QString& text, int style, const QString& caption)
{
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(caption);
    // Texts keep the platform's line ends (CR LF, and bare CRs in the error
    // report); on screen each of them is one line break.
    QString shown = text;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    box.setText(shown);
    box.setTextFormat(Qt::PlainText);
    switch (style & 0x70) {
    case vbCritical: box.setIcon(QMessageBox::Critical); break;
    case vbQuestion: box.setIcon(QMessageBox::Question); break;
    case vbExclamation: box.setIcon(QMessageBox::Warning); break;
    case vbInformation: box.setIcon(QMessageBox::Information); break;
    default: box.setIcon(QMessageBox::NoIcon); break;
    }
    if ((style & 0x0F) == vbYesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        return box.exec() == QMessageBox::Yes ? vbYes : vbNo;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return vbOK;
}

QString QtDialogs::saveFileName(const QString& title, const QString& filter)
{
    // The program asks its own overwrite question and keeps the name exactly
    // as typed, so the dialog must do neither.
    QFileDialog dialog(QApplication::activeWindow(), title, QString(), filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    dialog.setDefaultSuffix(QString());
    dialog.selectFile(QString());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}

}  // namespace app
