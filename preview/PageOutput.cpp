#include "preview/PageOutput.h"

#include "platform/SafeFile.h"
#include "platform/Units.h"

#include <QBuffer>
#include <QClipboard>
#include <QDir>
#include <QGuiApplication>
#include <QMimeData>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QRegularExpression>

#include <algorithm>
#include <stdexcept>

namespace preview {

namespace {

// A page with no picture still takes a sheet, of the template's Letter paper.
QSizeF paperTwips(const platform::Picture& page)
{
    return page.size.isEmpty() ? QSizeF(platform::units::kLetterWidth, platform::units::kLetterHeight) : page.size;
}

QPageSize paperOf(const platform::Picture& page)
{
    const QSizeF twips = paperTwips(page);
    return QPageSize(
        QSizeF(platform::units::twipsToPoints(twips.width()), platform::units::twipsToPoints(twips.height())),
        QPageSize::Point, QString(), QPageSize::ExactMatch);
}

// A title as the one line a PDF's information and its XMP metadata both hold:
// each run of line breaks (a CR LF pair among them) becomes one blank.
QString oneLine(const QString& title)
{
    static const QRegularExpression breaks(QStringLiteral("[\\r\\n\\v\\f\\x{85}\\x{2028}\\x{2029}]+"));
    return QString(title).replace(breaks, QStringLiteral(" "));
}

}  // namespace

QString pdfFileName(const QString& title)
{
    // The separator and NUL can't be in a name here; the rest can't on the
    // disks of other systems the file may be copied to. Control characters
    // would break the name across lines wherever it is listed.
    static const QString kRefused = QStringLiteral("/\\:*?\"<>|");
    QString name;
    name.reserve(title.size());
    for (const QChar c : title)
        name += kRefused.contains(c) || c.category() == QChar::Other_Control ? QChar(u'-') : c;
    // Blanks at either end are dropped or refused elsewhere; a leading dot
    // would hide the file from the user.
    name = name.trimmed();
    while (name.startsWith(u'.'))
        name = name.mid(1).trimmed();
    if (name.isEmpty())
        name = QStringLiteral("Minutes");

    QString suffix = QStringLiteral(".pdf");
    if (name.endsWith(suffix, Qt::CaseInsensitive)) {
        suffix = name.right(suffix.size());
        name.chop(suffix.size());
    } else if (name.endsWith(u'.')) {
        name.chop(1);
    }
    // A name is at most 255 bytes on the usual file systems; cut between
    // characters, never inside one.
    constexpr qsizetype kLongestName = 255;
    const qsizetype room = kLongestName - suffix.toUtf8().size();
    qsizetype bytes = 0, end = 0;
    while (end < name.size()) {
        const qsizetype next = end + (name.at(end).isHighSurrogate() && end + 1 < name.size() ? 2 : 1);
        bytes += QStringView(name).sliced(end, next - end).toUtf8().size();
        if (bytes > room)
            break;
        end = next;
    }
    name.truncate(end);
    return name + suffix;
}

QByteArray pdfOfPages(const Pages& pages, const QString& title)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        // PDF/A-1b: the archival form that filing offices ask for.
        writer.setPdfVersion(QPagedPaintDevice::PdfVersion_A1b);
        writer.setTitle(oneLine(title));
        writer.setCreator(QGuiApplication::applicationName());
        writer.setResolution(platform::units::kTwipsPerInch);  // one device unit is one twip
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        if (!pages.empty())
            writer.setPageSize(paperOf(*pages.front()));
        QPainter painter;
        if (!painter.begin(&writer))
            throw std::runtime_error("The PDF writer could not be started");
        for (size_t k = 0; k < pages.size(); ++k) {
            if (k > 0) {
                writer.setPageSize(paperOf(*pages[k]));
                writer.newPage();
            }
            pages[k]->paint(painter, QRectF(QPointF(0, 0), paperTwips(*pages[k])));
        }
        painter.end();
    }
    return bytes;
}

void preparePrinter(QPrinter& printer, const Pages& pages, const QString& title, const QString& folder)
{
    if (!pages.empty())
        printer.setPageSize(paperOf(*pages.front()));
    printer.setDocName(oneLine(title));
    printer.setFromTo(0, 0);
    printer.setPrintRange(QPrinter::AllPages);
    // Qt takes a name ending in ".pdf" for a choice of printing to a file; the
    // printer chosen before stays chosen, and the name waits in the dialog.
    const QPrinter::OutputFormat format = printer.outputFormat();
    printer.setOutputFileName(QDir(folder).filePath(pdfFileName(title)));
    printer.setOutputFormat(format);
}

QString printPages(QPrinter& printer, const Pages& pages, const QString& title)
{
    const int count = static_cast<int>(pages.size());
    int first = 1, last = count;
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        first = std::max(1, printer.fromPage());
        last = std::min(count, printer.toPage() > 0 ? printer.toPage() : count);
    }
    if (first > last)
        return QString();
    // A printer that makes the copies itself is given each page once; a file
    // holds every copy.
    const QString file = printer.outputFileName();
    const int copies = printer.supportsMultipleCopies() && file.isEmpty() ? 1 : std::max(1, printer.copyCount());
    const bool collate = printer.collateCopies();
    Pages order;
    for (int c = 0; c < (collate ? copies : 1); ++c)
        for (int n = first; n <= last; ++n)
            for (int r = 0; r < (collate ? 1 : copies); ++r)
                order.push_back(pages[static_cast<size_t>(n - 1)]);
    if (file.isEmpty()) {
        paintOnPrinter(printer, order);
        return QString();
    }
    // Qt's printer would write the file in place as it goes, and say nothing
    // when the disk filled up: the old file lost, a cut-off one left.
    platform::replaceFile(file, pdfOfPages(order, title), platform::defaultFileMode());
    return file;
}

void paintOnPrinter(QPrinter& printer, const Pages& pages)
{
    if (pages.empty())
        return;
    // Paper the user chose in the dialog takes every page; otherwise each
    // page asks for its own.
    const bool ownPaper = printer.pageLayout().pageSize().isEquivalentTo(paperOf(*pages.front()));
    const auto feed = [&](const platform::Picture& page) {
        if (ownPaper)
            printer.setPageSize(paperOf(page));  // refused where the printer lacks it
    };
    // The pictures carry the document's own margins: the printer's would shrink and shift the page.
    printer.setFullPage(true);
    feed(*pages.front());
    QPainter painter;
    if (!painter.begin(&printer))
        throw std::runtime_error("The printer could not be started");
    for (size_t k = 0; k < pages.size(); ++k) {
        const platform::Picture& page = *pages[k];
        if (k > 0) {
            feed(page);
            if (!printer.newPage())
                throw std::runtime_error("The printer stopped taking pages");
        }
        const QRectF sheet = printer.pageLayout().fullRectPixels(printer.resolution());
        const QSizeF paper = paperTwips(page);
        const double scale = std::min(sheet.width() / paper.width(), sheet.height() / paper.height());
        const QSizeF fitted = paper * scale;
        // Centred across, from the top: where a page printed at its own size stands.
        page.paint(painter, QRectF(QPointF((sheet.width() - fitted.width()) / 2, 0), fitted));
    }
    if (!painter.end() || printer.printerState() == QPrinter::Error)
        throw std::runtime_error("The printer could not finish the pages");
}

void copyPageToClipboard(const platform::Picture& page)
{
    auto* data = new QMimeData;
    data->setImageData(page.toImage(platform::Picture::kCopiedImageDpi));
    QGuiApplication::clipboard()->setMimeData(data);
}

}  // namespace preview
