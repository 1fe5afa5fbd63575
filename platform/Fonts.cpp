#include "platform/Fonts.h"

#include "platform/BoxFont.h"

#include <QFile>
#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QHash>

#include <bitset>
#include <mutex>
#include <vector>

namespace platform {

void ensurePlatformFonts()
{
    static std::once_flag once;
    std::call_once(once, [] {
        // Both faces: bold text takes the bold face's widths, as a word
        // processor sets it. That face has the regular strokes; the layout
        // sees so and draws them heavier.
        const QString folder = QStringLiteral("/usr/share/wine/fonts/");
        if (!QFile::exists(folder + QStringLiteral("tahoma.ttf"))
            || QFontDatabase::addApplicationFont(folder + QStringLiteral("tahoma.ttf")) < 0) {
            QFont::insertSubstitution(QStringLiteral("Tahoma"), QStringLiteral("DejaVu Sans"));
            return;
        }
        if (QFile::exists(folder + QStringLiteral("tahomabd.ttf")))
            QFontDatabase::addApplicationFont(folder + QStringLiteral("tahomabd.ttf"));
        // Ideographs come from the CJK font first. Left to the system's
        // fallback order, the Hangul font's Hanja would draw some of them: a
        // mixed look, and several times the time to lay them out.
        QFont::insertSubstitution(QStringLiteral("Tahoma"), QStringLiteral("Droid Sans Fallback"));
    });
}

namespace {

// Characters looked up, those found missing in the order found, and the
// family drawing them (none until one is missing). Each growth of the set is a new font of its own name,
// holding every missing character so far under the glyph it had before:
// fonts registered under one name again are not looked up again, and pictures
// made earlier keep naming the font they were drawn with.
struct LastResort {
    std::mutex lock;
    std::bitset<0x10000> seen;
    std::vector<char16_t> missing;
    QString family;
    int fonts = 0;
    QHash<QString, QString> installed;  // the family each name a document gives resolves to
};

LastResort& lastResort()
{
    static LastResort state;
    return state;
}

// Whether no installed font draws `c`; characters of one 256-character page
// tend to come together, so the whole page is looked up at once.
void lookUpPage(LastResort& state, char16_t c)
{
    ensurePlatformFonts();
    const QFontMetricsF system{QFont(QStringLiteral("Tahoma"))};
    const char16_t first = c & 0xFF00;
    for (char32_t u = first; u < first + 0x100u; ++u) {
        const QChar q(static_cast<char16_t>(u));
        if (state.seen.test(u))
            continue;
        state.seen.set(u);
        // Controls and format characters draw nothing of their own; unassigned ones are not typed.
        const QChar::Category category = q.category();
        if (q.isSurrogate() || category == QChar::Other_Control || category == QChar::Other_Format
            || category == QChar::Other_NotAssigned)
            continue;
        if (!system.inFontUcs4(u))
            state.missing.push_back(static_cast<char16_t>(u));
    }
}

}  // namespace

QFont documentFont(const QString& family)
{
    // The family a name comes to: Qt takes the first family of a list that is
    // installed under that very name, so an alias ("Times New Roman" for
    // Liberation Serif) would leave the box font in charge of every character.
    ensurePlatformFonts();
    LastResort& state = lastResort();
    const std::lock_guard<std::mutex> hold(state.lock);
    auto installed = state.installed.constFind(family);
    if (installed == state.installed.constEnd())
        installed = state.installed.insert(family, QFontInfo(QFont(family)).family());
    QFont font(*installed);
    if (!state.family.isEmpty())  // a list of families costs each font lookup a little
        font.setFamilies({*installed, state.family});
    return font;
}

void coverCharacters(QStringView text)
{
    LastResort& state = lastResort();
    const std::lock_guard<std::mutex> hold(state.lock);
    const size_t before = state.missing.size();
    for (const QChar c : text)
        if (c.unicode() >= 0x100 && !state.seen.test(c.unicode()))  // below U+0100 every fallback has it
            lookUpPage(state, c.unicode());
    if (state.missing.size() == before)
        return;
    const QString family = QStringLiteral("Corvalin Last Resort %1").arg(++state.fonts);
    if (QFontDatabase::addApplicationFontFromData(boxFont(family, state.missing)) >= 0)
        state.family = family;
}

}  // namespace platform
