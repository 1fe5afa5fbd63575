#include "app/Resources.h"
#include "tests/support/TestSupport.h"
#include "wordproc/Package.h"
#include "wordproc/WordProcessor.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace wordproc;

namespace {

struct ExpectedRow {
    std::vector<int> widths;
    std::vector<const char*> texts;
    std::vector<const char*> styles;
    std::vector<bool> shaded;
};

DocumentModel templateModel()
{
    return readPackage(app::LoadResData(101, QStringLiteral("CUSTOM")), QStringLiteral("template"));
}

void expectRows(Table& t, const std::vector<ExpectedRow>& rows)
{
    ASSERT_EQ(t.rows.size(), rows.size());
    for (size_t r = 0; r < rows.size(); ++r) {
        const Row& row = t.rows[r];
        ASSERT_EQ(row.cells.size(), rows[r].widths.size()) << "row " << r + 1;
        int total = 0;
        for (size_t c = 0; c < row.cells.size(); ++c) {
            const Cell& cell = row.cells[c];
            SCOPED_TRACE(testing::Message() << "row " << r + 1 << " cell " << c + 1);
            EXPECT_EQ(cell.width, rows[r].widths[c]);
            total += cell.width;
            ASSERT_EQ(cell.paragraphs.size(), 1u);
            EXPECT_EQ(cell.paragraphs[0].text(), QString::fromLatin1(rows[r].texts[c]));
            EXPECT_EQ(cell.paragraphs[0].style, QString::fromLatin1(rows[r].styles[c]));
            EXPECT_EQ(cell.shading.has_value(), rows[r].shaded[c]);
            if (cell.shading) {
                EXPECT_EQ(*cell.shading, qint32(0xF3F3F3));
            }
        }
        EXPECT_EQ(total, 9360) << "row " << r + 1;
    }
}

}  // namespace

TEST(Template, IsAZipPackageCarriedAsResource101)
{
    const QByteArray bytes = app::LoadResData(101, QStringLiteral("CUSTOM"));
    EXPECT_TRUE(bytes.startsWith(QByteArray("PK\x03\x04", 4)));
    EXPECT_THROW(app::LoadResData(102, QStringLiteral("CUSTOM")), std::runtime_error);
}

TEST(Template, HoldsBothTablesRowByRow)
{
    DocumentModel m = templateModel();
    auto tables = m.tables();
    ASSERT_EQ(tables.size(), 2u);
    const char* N = "";  // the default paragraph style
    const char *H1 = "Heading1", *H2 = "Heading2", *H3 = "Heading3", *H4 = "Heading4", *H5 = "Heading5",
               *AC = "AllCapsHeading";
    auto one = [&](const char* text = "", const char* style = "") {
        return ExpectedRow{{9360}, {text}, {style}, {false}};
    };
    auto labelled = [&](int a, int b, const char* label) {
        return ExpectedRow{{a, b}, {label, ""}, {AC, N}, {true, false}};
    };
    const std::vector<ExpectedRow> table1 = {
        one("Meeting Title", H1),
        {{2342, 1891, 1874, 3253}, {"Minutes", "", "", ""}, {H3, H4, H4, H5}, {false, false, false, false}},
        one(),
        labelled(1827, 7533, "Meeting called by"),
        labelled(1827, 7533, "Type of meeting"),
        labelled(1827, 7533, "Facilitator"),
        labelled(1827, 7533, "Note taker"),
        labelled(1827, 7533, "Timekeeper"),
        labelled(1827, 7533, "Attendees"),
        one(),
        one("Agenda topics", H2),
        {{2342, 3765, 3253}, {"", "", ""}, {H4, H4, H5}, {false, false, false}},
        labelled(1272, 8088, "Discussion"),
        one(),
        one(),
        labelled(1272, 8088, "Conclusions"),
        one(),
        one(),
        {{5483, 2514, 1363}, {"Action items", "Person responsible", "Deadline"}, {AC, AC, AC}, {true, true, true}},
        {{5483, 2514, 1363}, {"", "", ""}, {N, N, N}, {false, false, false}},
        {{5483, 2514, 1363}, {"", "", ""}, {N, N, N}, {false, false, false}},
        one(),
        one(),
    };
    expectRows(*tables[0], table1);
    expectRows(*tables[1], {labelled(1818, 7542, "Observers"), labelled(1818, 7542, "Resource persons"),
                            labelled(1818, 7542, "Special notes")});

    // Between the tables an empty Heading 2 paragraph, and an empty one at the end.
    ASSERT_EQ(m.body.size(), 4u);
    EXPECT_EQ(std::get<Paragraph>(m.body[1]).style, QStringLiteral("Heading2"));
    EXPECT_EQ(std::get<Paragraph>(m.body[1]).text(), QString());
    EXPECT_EQ(std::get<Paragraph>(m.body[3]).text(), QString());
    EXPECT_EQ(m.page, PageSetup());  // Letter, 1-inch margins
}

TEST(Template, CarriesItsStyleSheetFontsAndBookmarks)
{
    DocumentModel m = templateModel();
    QStringList names;
    for (const Style& s : m.styles)
        names << s.name;
    EXPECT_EQ(names,
              QStringList({"Normal", "heading 1", "heading 2", "heading 3", "heading 4", "heading 5",
                           "All Caps Heading", "Default Paragraph Font", "Normal Table", "No List", "Balloon Text"}));
    EXPECT_EQ(m.fonts, QStringList({"Times New Roman", "Symbol", "Arial", "Tahoma", "Cambria Math"}));

    Paragraph in;
    in.style = QStringLiteral("Heading3");
    const CharFormat h3 = m.resolvedChars(in, {});
    EXPECT_EQ(*h3.name, QStringLiteral("Tahoma"));
    EXPECT_EQ(*h3.size, 16);
    EXPECT_TRUE(*h3.allCaps);
    EXPECT_EQ(*h3.color, qint32(0x999999));
    in.style = QStringLiteral("AllCapsHeading");
    const CharFormat ac = m.resolvedChars(in, {});
    EXPECT_EQ(*ac.size, 7);
    EXPECT_TRUE(*ac.bold);
    EXPECT_EQ(*ac.color, qint32(0x808080));
    in.style = QStringLiteral("Heading5");
    EXPECT_EQ(m.resolvedPara(in).align, Align::Right);
    in.style = QStringLiteral("Heading2");
    EXPECT_EQ(*m.resolvedChars(in, {}).size, 12);
    EXPECT_EQ(m.resolvedPara(in).outlineLevel, 2);

    QStringList bookmarks;
    auto collect = [&](const Paragraph& p) {
        for (const BookmarkMark& b : p.marks)
            if (b.start)
                bookmarks << b.name;
    };
    for (const Block& b : m.body) {
        if (auto* p = std::get_if<Paragraph>(&b))
            collect(*p);
        else
            for (const Row& r : std::get<Table>(b).rows)
                for (const Cell& c : r.cells)
                    for (const Paragraph& p : c.paragraphs)
                        collect(p);
    }
    bookmarks.sort();
    EXPECT_EQ(bookmarks, QStringList({"MinuteActionItems", "MinuteAdditional", "MinuteConclusion", "MinuteDeadline",
                                      "MinuteDiscussion", "MinuteItems", "MinutePersonResponsible", "MinuteTopic",
                                      "MinuteTopicSection"}));
}

// The layout's resolver of styles agrees with the model's own resolution on
// the template's sheet and on damaged ones: missing, looping, doubled ids and
// chains longer than are followed.
TEST(Template, StylesResolveForTheLayoutAsForTheModel)
{
    DocumentModel m = templateModel();
    auto add = [&](const QString& id, const QString& basedOn, double size, Align align) {
        Style s;
        s.id = id;
        s.basedOn = basedOn;
        s.chars.size = size;
        s.para.align = align;
        m.styles.push_back(s);
    };
    add(QStringLiteral("LoopA"), QStringLiteral("LoopB"), 30, Align::Center);
    add(QStringLiteral("LoopB"), QStringLiteral("LoopA"), 31, Align::Right);
    add(QStringLiteral("Twice"), QString(), 40, Align::Justify);
    add(QStringLiteral("Twice"), QString(), 41, Align::Left);
    for (int i = 0; i < 40; ++i)
        add(QStringLiteral("Deep%1").arg(i), QStringLiteral("Deep%1").arg(i + 1), 50 + i,
            i % 2 ? Align::Left : Align::Right);
    CharFormat own;
    own.italic = true;
    const StyleResolver resolver(m);
    for (const char* id :
         {"", "Heading3", "AllCapsHeading", "Heading2", "Missing", "LoopA", "Twice", "Deep0", "Deep39"}) {
        SCOPED_TRACE(id);
        Paragraph p;
        p.style = QString::fromLatin1(id);
        p.format.spaceAfter = 120;
        for (int twice = 0; twice < 2; ++twice) {  // the second time from what the resolver kept
            EXPECT_TRUE(resolver.resolvedChars(p, own) == m.resolvedChars(p, own));
            EXPECT_TRUE(resolver.resolvedChars(p, {}) == m.resolvedChars(p, {}));
            EXPECT_TRUE(resolver.resolvedPara(p) == m.resolvedPara(p));
        }
    }
}
