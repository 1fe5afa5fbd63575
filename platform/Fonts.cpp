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
        // Only the regular face: the bold face shipped beside it has the
        // regular strokes, so bold is drawn emboldened from the regular one.
        const QString file = QStringLiteral("/usr/share/wine/fonts/tahoma.ttf");
        if (!QFile::exists(file) || QFontDatabase::addApplicationFont(file) < 0)
            QFont::insertSubstitution(QStringLiteral("Tahoma"), QStringLiteral("DejaVu Sans"));
    });
}

}  // namespace platform
