#pragma once

#include "tests/support/Seams.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <functional>
#include <ostream>

// Lets gtest print Qt strings in failure messages.
QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
QT_END_NAMESPACE

namespace testing_support {

// Sets an environment variable while it lives, and puts back what was there.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const QByteArray& value);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    const char* mName;
    QByteArray mOld;
    bool mHad;
};

// Fresh folders for one test, removed afterwards: the program folder, the
// temporary folder, the settings folder and the system's temporary folder
// (where the private per-user folder is made) while the object lives.
class ProgramFolders {
public:
    ProgramFolders();
    ~ProgramFolders();
    QString program() const { return mProgram.path(); }
    QString temp() const { return mTemp.path(); }
    QString settings() const { return mSettings.path(); }
    QString systemTemp() const { return mSystemTemp.path(); }
    // Forgets what the settings store holds in memory, as a restart would.
    void restart() const;
    // Writes a file under the program folder (folders made as needed).
    QString writeProgramFile(const QString& relative, const QByteArray& bytes) const;

private:
    QTemporaryDir mProgram;
    QTemporaryDir mTemp;
    QTemporaryDir mSettings;
    QTemporaryDir mSystemTemp;
    ScopedEnv mTempVariable{"TEMP", QFile::encodeName(mTemp.path())};
    ScopedEnv mTmpdirVariable{"TMPDIR", QFile::encodeName(mSystemTemp.path())};
    ProgramFolderOverride mProgramFolder{mProgram.path()};
    SettingsFolderOverride mSettingsFolder{mSettings.path()};
};

// The program's file writes fail as on a full or dying disk while this lives:
// after `afterBytes` more bytes, every write fails with `code`; with a
// folder, only the writes to files in it (one disk among others).
class FailingWrites {
public:
    explicit FailingWrites(int code, qint64 afterBytes = 0, const QString& onlyIn = QString());

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

// A small file system of the test's own, a tmpfs of `size` ("64k"), where a
// disk can really fill up. Mounting needs root: without it mounted() is false
// and the test says so and goes without.
class SmallDisk {
public:
    explicit SmallDisk(const char* size = "64k");
    ~SmallDisk();
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;
    bool mounted() const { return mMounted; }
    QString path() const { return mDir.path(); }
    // Fills it but for one page: room for a lock file, not for a store as well.
    void fill() const;
    void free() const;

private:
    QTemporaryDir mDir;
    bool mMounted;
};

// Runs the event loop (where the program's timers fire) until `condition`
// holds, or gives up after `ms`: whether it held.
bool eventually(const std::function<bool()>& condition, int ms = 5000);

// Fails the test, naming the font and the package that brings it, when no
// installed font covers `sample` (what a user would see as empty boxes).
void requireFontFor(const QString& sample, const char* fontAndPackage);

QByteArray readAll(const QString& path);
void writeFile(const QString& path, const QByteArray& bytes);

// Makes a file, folder or link (itself, not what it leads to) another user's,
// as a shared folder holds them; false where only root may, and this is not.
bool giveToAnotherUser(const QString& path);

// The path an open descriptor of this process was opened under (for a seam to
// tell which file a write is for).
QString pathOfDescriptor(int fd);

// The minutes template written out as a file in `folder`; returns its path.
QString writeTemplate(const QString& folder, const QString& name = QStringLiteral("template.dot"));

// A value of a settings file, "@Variant(...)", that Qt's reader takes for lists
// nested `depth` deep (every byte escaped as "\\xNN"): at 40,000 it is 1.3 MB
// and overflows the stack of whatever deserialises it.
QByteArray nestedListValue(int depth);

// A real cursor file with the given hot spot, made through Qt's icon writer.
QByteArray makeCursorFile(int size, int hotX, int hotY);

}  // namespace testing_support
