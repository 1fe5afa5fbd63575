#include "wordproc/Objects.h"

#include "wordproc/Layout.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace wordproc::objects {

namespace {

// A page on the clipboard: in the page-picture format, and as an ordinary
// image for other programs, painted only when one of them asks for it.
class PageMimeData : public QMimeData {
public:
    explicit PageMimeData(platform::Picture picture) : mPicture(std::move(picture))
    {
        setData(QLatin1String(platform::Picture::kMimeType), mPicture.save());
    }
    QStringList formats() const override { return QMimeData::formats() << QStringLiteral("application/x-qt-image"); }
    bool hasFormat(const QString& mime) const override { return formats().contains(mime); }

protected:
    QVariant retrieveData(const QString& mime, QMetaType type) const override
    {
        if (mime == QLatin1String("application/x-qt-image"))
            return mPicture.toImage(platform::Picture::kCopiedImageDpi);
        return QMimeData::retrieveData(mime, type);
    }

private:
    platform::Picture mPicture;
};

void copyFirstPageAsPicture(Document& d)
{
    // Page 1 is whole once page 2 has begun.
    QGuiApplication::clipboard()->setMimeData(new PageMimeData(d.layout(2).pages.front().picture));
}

class RangeObject : public DocPart {
public:
    explicit RangeObject(DocPtr d) : DocPart(QStringLiteral("Range"), std::move(d))
    {
        addMethod(QStringLiteral("CopyAsPicture"), {}, [this](const Bound&) {
            copyFirstPageAsPicture(doc());
            return Value();
        });
    }
};

class FontObject : public Base {
public:
    explicit FontObject(ProcessorPtr processor) : Base(QStringLiteral("Font")), mProcessor(std::move(processor))
    {
        using F = CharFormat;
        flag(QStringLiteral("Bold"), &F::bold);
        flag(QStringLiteral("Italic"), &F::italic);
        flag(QStringLiteral("StrikeThrough"), &F::strike);
        flag(QStringLiteral("DoubleStrikeThrough"), &F::doubleStrike);
        flag(QStringLiteral("Outline"), &F::outline);
        flag(QStringLiteral("Emboss"), &F::emboss);
        flag(QStringLiteral("Shadow"), &F::shadow);
        flag(QStringLiteral("Hidden"), &F::hidden);
        flag(QStringLiteral("SmallCaps"), &F::smallCaps);
        flag(QStringLiteral("AllCaps"), &F::allCaps);
        flag(QStringLiteral("Engrave"), &F::engrave);
        flag(QStringLiteral("Superscript"), &F::superscript);
        flag(QStringLiteral("Subscript"), &F::subscript);
        number(QStringLiteral("Underline"), &F::underline);
        number(QStringLiteral("UnderlineColor"), &F::underlineColor);
        number(QStringLiteral("Color"), &F::color);
        number(QStringLiteral("Scaling"), &F::scaling);
        number(QStringLiteral("Position"), &F::position);
        number(QStringLiteral("Kerning"), &F::kerning);
        number(QStringLiteral("Animation"), &F::animation);
        addProperty(
            QStringLiteral("Name"), Kind::String, {}, [this](const Bound&) { return Value(*font().name); },
            [this](const Bound&, const Value& v) {
                F f;
                f.name = v.toString();
                apply(f);
            });
        real(QStringLiteral("Size"), &F::size, 1, automation::word::kLargestFontSize);
        real(QStringLiteral("Spacing"), &F::spacing, -1584, 1584);
    }

private:
    Selection& selection() const
    {
        mProcessor->ensureRunning();
        return mProcessor->selection();
    }
    CharFormat font() const
    {
        CharFormat f;
        f = selection().font();
        return f;
    }
    void apply(const CharFormat& f) { selection().setFont(f); }
    void flag(const QString& name, std::optional<bool> CharFormat::*member)
    {
        addProperty(
            name, Kind::Boolean, {}, [this, member](const Bound&) { return Value(*(font().*member)); },
            [this, member](const Bound&, const Value& v) {
                CharFormat f;
                f.*member = v.toBool();
                apply(f);
            });
    }
    template <class T> void number(const QString& name, std::optional<T> CharFormat::*member)
    {
        addProperty(
            name, Kind::Long, {}, [this, member](const Bound&) { return Value(qint32(*(font().*member))); },
            [this, member](const Bound&, const Value& v) {
                CharFormat f;
                f.*member = static_cast<T>(v.toLong());
                apply(f);
            });
    }
    void real(const QString& name, std::optional<double> CharFormat::*member, double lo, double hi)
    {
        addProperty(
            name, Kind::Double, {}, [this, member](const Bound&) { return Value(float(*(font().*member))); },
            [this, member, name, lo, hi](const Bound&, const Value& v) {
                const double d = v.toDouble();
                if (!(d >= lo && d <= hi))
                    throw AutomationError(QStringLiteral("The value %1 is out of range for Font.%2").arg(d).arg(name));
                CharFormat f;
                f.*member = d;
                apply(f);
            });
    }

    ProcessorPtr mProcessor;
};

class SelectionObject : public Base {
public:
    explicit SelectionObject(ProcessorPtr processor)
        : Base(QStringLiteral("Selection")), mProcessor(std::move(processor))
    {
        addProperty(QStringLiteral("Font"), std::nullopt, {}, [this](const Bound&) {
            selection();
            return Value(ObjectPtr(std::make_shared<FontObject>(mProcessor)));
        });
        addMethod(QStringLiteral("TypeText"), {required(QStringLiteral("Text"), Kind::String)}, [this](const Bound& a) {
            selection().typeText(a[0].toString());
            return Value();
        });
        const auto unitCountExtend = {optionalParam(QStringLiteral("Unit"), Kind::Long),
                                      optionalParam(QStringLiteral("Count"), Kind::Long),
                                      optionalParam(QStringLiteral("Extend"), Kind::Long)};
        addMethod(QStringLiteral("MoveDown"), unitCountExtend, [this](const Bound& a) {
            selection().moveDown(a.valueOr(0, word::wdLine).toLong(), a.valueOr(1, qint32(1)).toLong(),
                                 a.valueOr(2, word::wdMove).toLong() == word::wdExtend);
            return Value();
        });
        const auto unitExtend = {optionalParam(QStringLiteral("Unit"), Kind::Long),
                                 optionalParam(QStringLiteral("Extend"), Kind::Long)};
        addMethod(QStringLiteral("HomeKey"), unitExtend, [this](const Bound& a) {
            selection().homeKey(a.valueOr(0, word::wdLine).toLong(),
                                a.valueOr(1, word::wdMove).toLong() == word::wdExtend);
            return Value();
        });
        addMethod(QStringLiteral("EndKey"), unitExtend, [this](const Bound& a) {
            selection().endKey(a.valueOr(0, word::wdLine).toLong(),
                               a.valueOr(1, word::wdMove).toLong() == word::wdExtend);
            return Value();
        });
        addMethod(QStringLiteral("GoTo"),
                  {optionalParam(QStringLiteral("What"), Kind::Long),
                   optionalParam(QStringLiteral("Which"), Kind::Long),
                   optionalParam(QStringLiteral("Count"), Kind::Long), optionalParam(QStringLiteral("Name"))},
                  [this](const Bound& a) {
                      goTo(a);
                      return Value();
                  });
        addMethod(
            QStringLiteral("Delete"),
            {optionalParam(QStringLiteral("Unit"), Kind::Long), optionalParam(QStringLiteral("Count"), Kind::Long)},
            [this](const Bound&) {
                selection().deleteSelection();
                return Value();
            });
        addMethod(QStringLiteral("Copy"), {}, [this](const Bound&) {
            selection().copy();
            return Value();
        });
        addMethod(QStringLiteral("Paste"), {}, [this](const Bound&) {
            selection().paste();
            return Value();
        });
    }

private:
    Selection& selection() const
    {
        mProcessor->ensureRunning();
        return mProcessor->selection();
    }

    // Pages only (What 1). A page named by number, else counted: Which 1 is
    // absolute, 2 next, 3 previous, -1 the last page.
    void goTo(const Bound& a)
    {
        if (a.valueOr(0, word::wdGoToPage).toLong() != word::wdGoToPage)
            throw AutomationError(QStringLiteral("GoTo: only pages (What 1) are supported"));
        int page = 1;
        if (a.has(3)) {
            page = a[3].toLong();
        } else {
            const int which = a.valueOr(1, word::wdGoToAbsolute).toLong();
            const int count = a.valueOr(2, qint32(1)).toLong();
            page = which == word::wdGoToLast       ? mProcessor->activeDocument()->pageCount()
                   : which == word::wdGoToNext     ? 1 + count
                   : which == word::wdGoToPrevious ? 1 - count
                                                   : count;
        }
        selection().goToPage(page);
    }

    ProcessorPtr mProcessor;
};

}  // namespace

ObjectPtr makeSelection(ProcessorPtr processor) { return std::make_shared<SelectionObject>(std::move(processor)); }

ObjectPtr makeRange(DocPtr doc) { return std::make_shared<RangeObject>(std::move(doc)); }

}  // namespace wordproc::objects
