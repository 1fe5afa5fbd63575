#pragma once

#include "platform/Picture.h"

#include <QByteArray>
#include <QString>
#include <vector>

class QPrinter;

namespace preview {

// The name a PDF of the meeting titled `title` is proposed under: the title
// with what file names can't hold (here or on other systems) replaced, so
// "Q3/Q4 review" gives "Q3-Q4 review.pdf".
QString pdfFileName(const QString& title);

// The pages as a PDF file: one PDF page per picture at the picture's own
// paper size, text kept as text in embedded fonts, titled `title`.
QByteArray pdfOfPages(const std::vector<platform::Picture>& pages, const QString& title);

// Readies the printer for the pages before the print dialog: the document's
// paper, its title as the job's name, every page to be printed.
void preparePrinter(QPrinter& printer, const std::vector<platform::Picture>& pages, const QString& title);

// Prints the range chosen in the print dialog, each page scaled to the
// printer's page keeping its proportions, as many copies as asked.
void printPages(QPrinter& printer, const std::vector<platform::Picture>& pages);

// Puts the page on the clipboard as an ordinary image other programs paste.
void copyPageToClipboard(const platform::Picture& page);

}  // namespace preview
