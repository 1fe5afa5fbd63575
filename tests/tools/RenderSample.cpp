// Fills the template with the sample meeting through the by-name skin, saves
// it as FOLDER/sample.doc and paints each page to FOLDER/page-N.png at 96 dpi,
// for comparing with what another word processor makes of the same file.
#include "app/Resources.h"
#include "automation/Object.h"
#include "tests/support/SampleMeeting.h"
#include "wordproc/Layout.h"
#include "wordproc/WordApplication.h"
#include "wordproc/WordProcessor.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>

#include <cstdio>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: render_sample FOLDER\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    QDir().mkpath(out.path());
    const QString templatePath = out.filePath(QStringLiteral("template.dot"));
    QFile::remove(templatePath);
    {
        QFile f(templatePath);
        if (!f.open(QIODevice::WriteOnly))
            return 1;
        f.write(app::LoadResData(101, QStringLiteral("CUSTOM")));
    }
    const auto word = wordproc::createWordApplication();
    testing_support::typePieces(word, templatePath, testing_support::samplePieces());
    const QString docPath = out.filePath(QStringLiteral("sample.doc"));
    automation::call(automation::get(word, QStringLiteral("ActiveDocument")).toObject(), QStringLiteral("SaveAs"),
                     {docPath});
    automation::call(word, QStringLiteral("Quit"));
    QFile::remove(templatePath);

    wordproc::WordProcessor engine;
    const auto doc = engine.open(docPath, true);
    const auto& pages = doc->layout().pages;
    for (size_t i = 0; i < pages.size(); ++i)
        pages[i].picture.toImage(96).save(out.filePath(QStringLiteral("page-%1.png").arg(i + 1)));
    std::printf("%s: %zu page(s)\n", qPrintable(docPath), pages.size());
    return 0;
}
