// The layer order of the map in docs/ARCHITECTURE.md, held against every
// include of the program's sources, so that the map and the code cannot drift.
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QStringList>

#include <gtest/gtest.h>

namespace {

const QString kSource = QStringLiteral(CORVALIN_SOURCE_DIR);

// Folders that hold no program code, or sit above every layer.
const QStringList kOutside = {QStringLiteral("tests"),   QStringLiteral("bench"), QStringLiteral("resources"),
                              QStringLiteral("scripts"), QStringLiteral("docs"),  QStringLiteral("build")};

struct Map {
    QHash<QString, int> level;  // folder -> its line in the list
    QStringList onlyRoot;  // folders only the root may include
};

Map readMap()
{
    QFile file(kSource + QStringLiteral("/docs/ARCHITECTURE.md"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QString text = QString::fromUtf8(file.readAll());
    Map map;
    const QString layers = text.section(QStringLiteral("## Layers"), 1).section(QStringLiteral("\n## "), 0, 0);
    static const QRegularExpression line(QStringLiteral("^(\\d+)\\. ((?:`[^`]+` ?)+)$"),
                                         QRegularExpression::MultilineOption);
    static const QRegularExpression name(QStringLiteral("`([^`]+)`"));
    for (auto it = line.globalMatch(layers); it.hasNext();) {
        const auto m = it.next();
        for (auto n = name.globalMatch(m.captured(2)); n.hasNext();)
            map.level.insert(n.next().captured(1), m.captured(1).toInt());
    }
    static const QRegularExpression only(QStringLiteral("^Included only by the root: (.*)$"),
                                         QRegularExpression::MultilineOption);
    for (auto n = name.globalMatch(only.match(layers).captured(1)); n.hasNext();)
        map.onlyRoot << n.next().captured(1);
    return map;
}

QString folderOf(const QString& relativePath)
{
    return relativePath.contains(u'/') ? relativePath.section(u'/', 0, 0) : QStringLiteral(".");
}

// Every include of a program folder that the map forbids, as "file:line: include".
QStringList violations(const Map& map)
{
    QStringList found;
    static const QRegularExpression include(QStringLiteral("^\\s*#\\s*include\\s+\"([^\"]+)\""),
                                            QRegularExpression::MultilineOption);
    QDirIterator it(kSource, {QStringLiteral("*.h"), QStringLiteral("*.cpp")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString relative = QDir(kSource).relativeFilePath(path);
        const QString from = folderOf(relative);
        const bool hidden = from.startsWith(u'.') && from != QStringLiteral(".");
        if (kOutside.contains(from) || hidden || from.startsWith(QStringLiteral("build")))
            continue;
        if (!map.level.contains(from)) {
            found << relative + QStringLiteral(": its folder is not in the map");
            continue;
        }
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const QString text = QString::fromUtf8(file.readAll());
        for (auto m = include.globalMatch(text); m.hasNext();) {
            const auto match = m.next();
            const QString target = match.captured(1);
            if (!target.contains(u'/'))
                continue;  // a neighbour in the same folder
            const QString to = target.section(u'/', 0, 0);
            const int lineNo = text.left(match.capturedStart()).count(u'\n') + 1;
            const QString where = QStringLiteral("%1:%2: %3").arg(relative).arg(lineNo).arg(target);
            if (to == from)
                continue;
            if (!map.level.contains(to))
                found << where + QStringLiteral(" (a folder the map does not name)");
            else if (map.level.value(to) >= map.level.value(from))
                found << where + QStringLiteral(" (points up or sideways)");
            else if (map.onlyRoot.contains(to) && from != QStringLiteral("."))
                found << where + QStringLiteral(" (only the root includes it)");
        }
    }
    return found;
}

}  // namespace

TEST(Layers, everyIncludePointsDownTheMap)
{
    const Map map = readMap();
    ASSERT_GE(map.level.size(), 9) << "docs/ARCHITECTURE.md lost its list of layers";
    ASSERT_TRUE(map.level.contains(QStringLiteral(".")));
    ASSERT_FALSE(map.onlyRoot.isEmpty());
    const QStringList found = violations(map);
    EXPECT_TRUE(found.isEmpty()) << found.join(u'\n').toStdString();
}
