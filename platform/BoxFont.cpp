#include "platform/BoxFont.h"

#include <QtEndian>
#include <algorithm>
#include <array>
#include <map>
#include <utility>

namespace platform {

namespace {

// Big-endian fields, as every table of the font is written.
class Table {
public:
    Table& u16(quint16 v) { return put(v); }
    Table& i16(qint16 v) { return put(v); }
    Table& u32(quint32 v) { return put(v); }
    Table& bytes(const QByteArray& b)
    {
        mBytes += b;
        return *this;
    }
    const QByteArray& data() const { return mBytes; }

private:
    template <typename T> Table& put(T v)
    {
        std::array<char, sizeof(T)> raw;
        qToBigEndian(v, raw.data());
        mBytes.append(raw.data(), static_cast<qsizetype>(raw.size()));
        return *this;
    }
    QByteArray mBytes;
};

quint32 checksum(const QByteArray& bytes)
{
    quint32 sum = 0;
    for (qsizetype i = 0; i < bytes.size(); i += 4) {
        quint32 word = 0;
        for (qsizetype k = 0; k < 4; ++k)
            word = (word << 8) | (i + k < bytes.size() ? static_cast<quint8>(bytes[i + k]) : 0u);
        sum += word;
    }
    return sum;
}

// The box every glyph draws: a frame of 50 units inside 50..550 × 0..700 of
// an em of 1000, its outer contour clockwise and its inner one against.
constexpr qint16 kAdvance = 600, kLeft = 50, kRight = 550, kTop = 700;
constexpr quint16 kUnitsPerEm = 1000;
constexpr qint16 kAscent = 800, kDescent = -200;

QByteArray boxGlyph()
{
    Table g;
    g.i16(2).i16(kLeft).i16(0).i16(kRight).i16(kTop);  // contours and bounds
    g.u16(3).u16(7).u16(0);  // last point of each contour; no instructions
    for (int i = 0; i < 8; ++i)
        g.bytes(QByteArray(1, '\x01'));  // on the curve, coordinates as 16-bit deltas
    for (qint16 dx : {50, 0, 500, 0, -450, 400, 0, -400})
        g.i16(dx);
    for (qint16 dy : {0, 700, 0, -700, 50, 0, 600, 0})
        g.i16(dy);
    return g.data();
}

QByteArray nameTable(const QString& family)
{
    QString postscript;
    for (const QChar c : family)
        if (c.unicode() > 32 && c.unicode() < 127 && !QStringLiteral("[](){}<>/%").contains(c))
            postscript += c;
    const std::pair<quint16, QString> names[] = {
        {1, family}, {2, QStringLiteral("Regular")}, {3, family}, {4, family}, {6, postscript}};
    Table t, strings;
    t.u16(0).u16(static_cast<quint16>(std::size(names))).u16(static_cast<quint16>(6 + 12 * std::size(names)));
    for (const auto& [id, text] : names) {
        const qsizetype offset = strings.data().size();
        for (const QChar c : text)
            strings.u16(c.unicode());
        t.u16(3).u16(1).u16(0x0409).u16(id);
        t.u16(static_cast<quint16>(text.size() * 2)).u16(static_cast<quint16>(offset));
    }
    return t.bytes(strings.data()).data();
}

// Format 12 under Windows' full Unicode encoding: characters in order, each
// run of consecutive characters with consecutive glyphs one group.
QByteArray cmapTable(const std::vector<char16_t>& characters)
{
    std::map<char16_t, quint32> glyphOf;
    for (size_t i = 0; i < characters.size(); ++i)
        glyphOf.emplace(characters[i], static_cast<quint32>(i + 1));
    std::vector<std::array<quint32, 3>> groups;  // first, last, first glyph
    for (const auto& [c, glyph] : glyphOf) {
        if (!groups.empty() && groups.back()[1] + 1 == c
            && groups.back()[2] + (groups.back()[1] - groups.back()[0]) + 1 == glyph)
            ++groups.back()[1];
        else
            groups.push_back({c, c, glyph});
    }
    Table t;
    t.u16(0).u16(1).u16(3).u16(10).u32(12);
    t.u16(12).u16(0).u32(static_cast<quint32>(16 + 12 * groups.size())).u32(0);
    t.u32(static_cast<quint32>(groups.size()));
    for (const auto& g : groups)
        t.u32(g[0]).u32(g[1]).u32(g[2]);
    return t.data();
}

}  // namespace

QByteArray boxFont(const QString& family, const std::vector<char16_t>& wanted)
{
    std::vector<char16_t> characters;
    for (const char16_t c : wanted)
        if (!QChar::isSurrogate(c))
            characters.push_back(c);
    const auto glyphs = static_cast<quint16>(std::min<size_t>(characters.size() + 1, 0xFFFF));
    characters.resize(glyphs - 1u);
    const char16_t first = characters.empty() ? 0x20 : *std::min_element(characters.begin(), characters.end());
    const char16_t last = characters.empty() ? 0x20 : *std::max_element(characters.begin(), characters.end());

    const QByteArray glyph = boxGlyph();
    Table glyf, loca, hmtx;
    for (quint32 i = 0; i <= glyphs; ++i)
        loca.u32(static_cast<quint32>(glyph.size()) * i);
    for (quint16 i = 0; i < glyphs; ++i) {
        glyf.bytes(glyph);
        hmtx.u16(kAdvance).i16(kLeft);
    }
    Table head, hhea, maxp, os2, post;
    head.u32(0x00010000).u32(0x00010000).u32(0).u32(0x5F0F3CF5).u16(0x000B).u16(kUnitsPerEm);
    head.u32(0).u32(0).u32(0).u32(0);  // created, modified
    head.i16(kLeft).i16(0).i16(kRight).i16(kTop).u16(0).u16(8).i16(2).i16(1).i16(0);
    hhea.u32(0x00010000).i16(kAscent).i16(kDescent).i16(0).u16(kAdvance).i16(kLeft).i16(kAdvance - kRight);
    hhea.i16(kRight).i16(1).i16(0).i16(0).i16(0).i16(0).i16(0).i16(0).i16(0).u16(glyphs);
    maxp.u32(0x00010000).u16(glyphs).u16(8).u16(2).u16(0).u16(0).u16(2);
    for (int i = 0; i < 8; ++i)
        maxp.u16(0);
    os2.u16(3).i16(kAdvance).u16(400).u16(5).u16(0);  // fsType 0: may be embedded
    for (qint16 v : {650, 600, 0, 75, 650, 600, 0, 350, 50, 300})
        os2.i16(v);
    os2.i16(0).bytes(QByteArray(10, '\0')).u32(0).u32(0).u32(0).u32(0).bytes(QByteArrayLiteral("NONE"));
    os2.u16(0x0040).u16(first).u16(last).i16(kAscent).i16(kDescent).i16(0);
    os2.u16(static_cast<quint16>(kAscent)).u16(static_cast<quint16>(-kDescent)).u32(0).u32(0);
    os2.i16(500).i16(kTop).u16(0).u16(0x20).u16(0);
    post.u32(0x00030000).u32(0).i16(-100).i16(50);
    for (int i = 0; i < 5; ++i)
        post.u32(0);

    // In the order of their tags, as the table directory lists them.
    const std::pair<const char*, QByteArray> tables[] = {
        {"OS/2", os2.data()},        {"cmap", cmapTable(characters)}, {"glyf", glyf.data()}, {"head", head.data()},
        {"hhea", hhea.data()},       {"hmtx", hmtx.data()},           {"loca", loca.data()}, {"maxp", maxp.data()},
        {"name", nameTable(family)}, {"post", post.data()},
    };
    constexpr quint16 kTables = std::size(tables);
    Table font;
    font.u32(0x00010000).u16(kTables).u16(8 * 16).u16(3).u16(kTables * 16 - 8 * 16);
    quint32 offset = 12 + 16 * kTables;
    qsizetype headAt = 0;
    QByteArray body;
    for (const auto& [tag, bytes] : tables) {
        if (QByteArrayView(tag) == "head")
            headAt = offset;
        font.bytes(QByteArray(tag, 4)).u32(checksum(bytes)).u32(offset).u32(static_cast<quint32>(bytes.size()));
        const QByteArray padded = bytes + QByteArray((4 - bytes.size() % 4) % 4, '\0');
        body += padded;
        offset += static_cast<quint32>(padded.size());
    }
    QByteArray out = font.data() + body;
    qToBigEndian(static_cast<quint32>(0xB1B0AFBA - checksum(out)), out.data() + headAt + 8);
    return out;
}

}  // namespace platform
