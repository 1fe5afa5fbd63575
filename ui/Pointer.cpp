#include "ui/Pointer.h"

#include <QEnterEvent>
#include <QMouseEvent>

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QPixmap>
#include <QWidget>
#include <QtEndian>

#include <stdexcept>

namespace ui {

namespace {

[[noreturn]] void notACursor(const QString& path, const QString& why)
{
    throw std::runtime_error(
        QStringLiteral("Invalid picture: '%1' can't be loaded as a cursor (%2)").arg(path, why).toStdString());
}

}  // namespace

QCursor loadCursorFile(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        notACursor(path, f.errorString());
    // Far more than any cursor needs; refuses to read a huge file into memory.
    if (f.size() > 4 * 1024 * 1024)
        notACursor(path, QStringLiteral("the file is too large"));
    const QByteArray bytes = f.readAll();

    // Directory header (reserved, type, count) then the first entry, whose
    // bytes 4..7 hold the hot spot in a cursor file.
    if (bytes.size() < 22)
        notACursor(path, QStringLiteral("the file is too short"));
    const auto u16 = [&](int at) { return qFromLittleEndian<quint16>(bytes.constData() + at); };
    const quint16 type = u16(2);
    if (u16(0) != 0 || (type != 1 && type != 2) || u16(4) == 0)
        notACursor(path, QStringLiteral("no cursor header"));

    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, type == 2 ? "cur" : "ico");
    const QImage image = reader.read();
    if (image.isNull())
        notACursor(path, reader.errorString());

    int hotX = 0, hotY = 0;
    if (type == 2) {
        hotX = u16(6 + 4);
        hotY = u16(6 + 6);
    }
    if (hotX >= image.width() || hotY >= image.height())
        notACursor(path, QStringLiteral("the hot spot lies outside the picture"));
    return QCursor(QPixmap::fromImage(image), hotX, hotY);
}

void WindowPointer::setShape(int shape)
{
    mShape = shape;
    switch (shape) {
    case vbHourglass: mWindow->setCursor(Qt::WaitCursor); break;
    case vbCustom: mWindow->setCursor(customCursor()); break;
    default: mWindow->unsetCursor(); break;
    }
}

void WindowPointer::hover(int shape)
{
    if (mShape != vbHourglass && mShape != shape)
        setShape(shape);
}

void WindowPointer::setCustomPicture(const QCursor& cursor)
{
    mCustom = cursor;
    if (mShape == vbCustom)
        setShape(vbCustom);
}

QCursor WindowPointer::customCursor() const { return mCustom.value_or(QCursor(Qt::PointingHandCursor)); }

QWidget* controlUnderPointer(QWidget* window, const QEvent* event)
{
    QPointF global;
    if (event->type() == QEvent::Enter)
        global = static_cast<const QEnterEvent*>(event)->globalPosition();
    else if (event->type() == QEvent::MouseMove)
        global = static_cast<const QMouseEvent*>(event)->globalPosition();
    else
        return nullptr;
    QWidget* w = window->childAt(window->mapFromGlobal(global.toPoint()));
    // Qt's own parts of a composite control have no name, or one of Qt's.
    while (w && w != window && (w->objectName().isEmpty() || w->objectName().startsWith(QLatin1String("qt_"))))
        w = w->parentWidget();
    return w ? w : window;
}

}  // namespace ui
