#pragma once

#include "tests/support/Seams.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <ostream>

// Lets gtest print Qt strings in failure messages.
QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
QT_END_NAMESPACE

namespace testing_support {

// Fresh folders for one test, removed afterwards: the program folder, the
// temporary folder and the settings folder while the object lives.
class ProgramFolders {
public:
    ProgramFolders();
    ~ProgramFolders();
    QString program() const { return mProgram.path(); }
    QString temp() const { return mTemp.path(); }
    QString settings() const { return mSettings.path(); }
    // Forgets what the settings store holds in memory, as a restart would.
    void restart() const;
    // Writes a file under the program folder (folders made as needed).
    QString writeProgramFile(const QString& relative, const QByteArray& bytes) const;

private:
    QTemporaryDir mProgram;
    QTemporaryDir mTemp;
    QTemporaryDir mSettings;
    QByteArray mOldTemp;
    bool mHadTemp;
    ProgramFolderOverride mProgramFolder{mProgram.path()};
    SettingsFolderOverride mSettingsFolder{mSettings.path()};
};

// The program's file writes fail as on a full or dying disk while this lives:
// after `afterBytes` more bytes, every write fails with `code`.
class FailingWrites {
public:
    explicit FailingWrites(int code, qint64 afterBytes = 0);

private:
    WriteCallOverride mWrite;
};

// The program's file reads fail with `code` while this lives.
class FailingReads {
public:
    explicit FailingReads(int code);

private:
    ReadCallOverride mRead;
};

// Fails the test, naming the font and the package that brings it, when no
// installed font covers `sample` (what a user would see as empty boxes).
void requireFontFor(const QString& sample, const char* fontAndPackage);

QByteArray readAll(const QString& path);
void writeFile(const QString& path, const QByteArray& bytes);

// The minutes template written out as a file in `folder`; returns its path.
QString writeTemplate(const QString& folder, const QString& name = QStringLiteral("template.dot"));

// A value of a settings file, "@Variant(...)", that Qt's reader takes for lists
// nested `depth` deep (every byte escaped as "\\xNN"): at 40,000 it is 1.3 MB
// and overflows the stack of whatever deserialises it.
QByteArray nestedListValue(int depth);

// A real cursor file with the given hot spot, made through Qt's icon writer.
QByteArray makeCursorFile(int size, int hotX, int hotY);

}  // namespace testing_support
