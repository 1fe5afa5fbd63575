#include "platform/Fonts.h"

#include <QFile>
#include <QFont>
#include <QFontDatabase>

#include <mutex>

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

}  // namespace platform
