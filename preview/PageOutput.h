#pragma once

#include "platform/Picture.h"

#include <QByteArray>
#include <QString>
#include <memory>
#include <vector>

class QPrinter;

namespace preview {

// The name a PDF of the meeting titled `title` is proposed under: the title
// with what file names can't hold (here or on other systems) replaced, so
// "Q3/Q4 review" gives "Q3-Q4 review.pdf".
QString pdfFileName(const QString& title);

// The document's pages, each picture shared with the preview that shows it.
using Pages = std::vector<std::shared_ptr<const platform::Picture>>;

// The pages as a PDF file: one PDF page per picture at the picture's own
// paper size, text kept as text in embedded fonts, titled `title`.
QByteArray pdfOfPages(const Pages& pages, const QString& title);

// Readies the printer for the pages before the print dialog: the document's
// paper, its title as the job's name, every page to be printed, and, should
// the user print to a file, the file `title` names in `folder`.
void preparePrinter(QPrinter& printer, const Pages& pages, const QString& title, const QString& folder);

// Prints the range and copies chosen in the print dialog. Sent to a file,
// the pages are written there as Save as PDF writes its file, and the file's
// name is returned; sent to a printer, they are painted on it and an empty
// name is returned. A failure throws.
QString printPages(QPrinter& printer, const Pages& pages, const QString& title);

// The pages painted on the printer, in order: each on paper of its own size
// where the printer has it, filling the sheet to its edges (else scaled to
// fit the sheet). Throws when the printer reports a failure.
void paintOnPrinter(QPrinter& printer, const Pages& pages);

// Puts the page on the clipboard as an ordinary image other programs paste.
void copyPageToClipboard(const platform::Picture& page);

}  // namespace preview
