#pragma once

#include "platform/Units.h"
#include "wordproc/Format.h"

#include <QDateTime>
#include <QHash>
#include <QString>
#include <QStringList>
#include <variant>
#include <vector>

namespace wordproc {

struct Run {
    QString text;
    CharFormat format;  // what the run sets itself
};

// A bookmark's start or end, at a character offset of its paragraph.
struct BookmarkMark {
    QString name;
    int id = 0;
    bool start = true;
    int offset = 0;
};

struct Paragraph {
    QString style;  // style id; empty is the default paragraph style
    ParaFormat format;  // set on the paragraph itself
    CharFormat markFormat;  // of the paragraph mark: what an empty paragraph shows
    std::vector<Run> runs;
    std::vector<BookmarkMark> marks;

    QString text() const;
    int length() const;
};

struct Cell {
    int width = 0;  // twips
    std::optional<qint32> shading;  // background, 0x00BBGGRR
    std::vector<Paragraph> paragraphs;  // never empty
};

struct Row {
    std::vector<Cell> cells;
    // Kept whole on one page unless taller than a page; otherwise a row
    // breaks across pages between lines, as word processors break it.
    bool cantSplit = false;
};

// Twips left and right of every cell's text: the layout keeps them, and the
// style sheet written for a new document declares them for its tables.
inline constexpr int kCellMargin = 108;

struct Table {
    QString style;
    std::vector<Row> rows;
};

using Block = std::variant<Paragraph, Table>;

enum class StyleType { Paragraph, Character, Table, Numbering };

struct Style {
    QString id;
    QString name;
    StyleType type = StyleType::Paragraph;
    QString basedOn;
    QString next;
    bool isDefault = false;
    CharFormat chars;
    ParaFormat para;
};

// In twips; by default US Letter (8.5 by 11 inches) with margins of an inch.
struct PageSetup {
    int width = platform::units::kLetterWidth;
    int height = platform::units::kLetterHeight;
    int top = platform::units::kTwipsPerInch;
    int bottom = platform::units::kTwipsPerInch;
    int left = platform::units::kTwipsPerInch;
    int right = platform::units::kTwipsPerInch;
    int header = platform::units::kTwipsPerInch / 2;
    int footer = platform::units::kTwipsPerInch / 2;
    bool operator==(const PageSetup&) const = default;
};

struct DocumentProperties {
    QString title;
    QString creator;
    QDateTime created;
    QDateTime modified;
};

// A whole document: body, style sheet, font table and page.
struct DocumentModel {
    std::vector<Block> body;
    std::vector<Style> styles;
    CharFormat defaultChars;
    ParaFormat defaultPara;
    QStringList fonts;
    PageSetup page;
    int defaultTabStop = platform::units::kTwipsPerInch / 2;  // twips between the tab stops no paragraph sets
    // The style sheet and the settings exactly as a file held them: what the
    // component does not understand there (hidden styles, languages, options)
    // is written back unchanged. Empty for a document made here.
    QByteArray stylesPart;
    QByteArray settingsPart;
    DocumentProperties properties;
    bool isTemplate = false;

    const Style* style(const QString& id) const;
    const Style* defaultParagraphStyle() const;
    // The format a run shows: defaults, then the style chain, then the run.
    CharFormat resolvedChars(const Paragraph& p, const CharFormat& own) const;
    ParaFormat resolvedPara(const Paragraph& p) const;

    // The tables of the body, in order (the object model counts them from 1).
    std::vector<Table*> tables();
    int blockIndexOfTable(int tableIndex) const;  // 0-based table -> body index, or -1
};

// Resolves formats as DocumentModel does, for many paragraphs in a row (the
// layout): styles are looked up by id in constant time and each style's
// chain is walked once, however many styles a document holds. Valid while
// the model's style sheet and defaults are unchanged.
class StyleResolver {
public:
    explicit StyleResolver(const DocumentModel& m);
    CharFormat resolvedChars(const Paragraph& p, const CharFormat& own) const;
    ParaFormat resolvedPara(const Paragraph& p) const;

    // The sheet as the chain walk asks it, by id.
    const Style* style(const QString& id) const { return mById.value(id); }
    const Style* defaultParagraphStyle() const { return mDefault; }
    const DocumentModel& model() const { return mModel; }

private:
    struct Chain {
        CharFormat chars;  // defaults and the styles, before a run's own
        ParaFormat para;  // and before the paragraph's own
    };
    const Chain& chainOf(const QString& styleId) const;

    const DocumentModel& mModel;
    QHash<QString, const Style*> mById;  // the first style of each id, as DocumentModel::style finds
    const Style* mDefault;
    mutable QHash<QString, Chain> mChains;
};

}  // namespace wordproc
