#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <ostream>

// Lets gtest print Qt strings in failure messages.
QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
QT_END_NAMESPACE

namespace testing_support {

// A fresh folder for one test that also serves as the program folder and the
// temporary folder while the object lives, and is removed afterwards.
class ProgramFolders {
public:
    ProgramFolders();
    ~ProgramFolders();
    QString program() const { return mProgram.path(); }
    QString temp() const { return mTemp.path(); }
    // Writes a file under the program folder (folders made as needed).
    QString writeProgramFile(const QString& relative, const QByteArray& bytes) const;

private:
    QTemporaryDir mProgram;
    QTemporaryDir mTemp;
    QByteArray mOldTemp;
    bool mHadTemp;
};

QByteArray readAll(const QString& path);
void writeFile(const QString& path, const QByteArray& bytes);

// A real cursor file with the given hot spot, made through Qt's icon writer.
QByteArray makeCursorFile(int size, int hotX, int hotY);

}  // namespace testing_support
