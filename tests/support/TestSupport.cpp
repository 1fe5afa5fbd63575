#include "tests/support/TestSupport.h"

#include "app/Environment.h"
#include "app/Resources.h"
#include "meeting/SettingsStore.h"
#include "platform/SafeFile.h"

#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QFontDatabase>
#include <QImage>
#include <QImageWriter>
#include <QRawFont>
#include <QTest>
#include <QtEndian>

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>

namespace testing_support {

ScopedEnv::ScopedEnv(const char* name, const QByteArray& value)
    : mName(name), mOld(qgetenv(name)), mHad(qEnvironmentVariableIsSet(name))
{
    qputenv(name, value);
}

ScopedEnv::~ScopedEnv()
{
    if (mHad)
        qputenv(mName, mOld);
    else
        qunsetenv(mName);
}

ProgramFolders::ProgramFolders() { meeting::reopenSettingsStore(); }

void ProgramFolders::restart() const { meeting::reopenSettingsStore(); }

ProgramFolders::~ProgramFolders()
{
    // The folders go back as the members end; the store must not keep this one open.
    meeting::reopenSettingsStore();
}

QString ProgramFolders::writeProgramFile(const QString& relative, const QByteArray& bytes) const
{
    const QString path = QDir(program()).filePath(relative);
    QDir().mkpath(QFileInfo(path).absolutePath());
    writeFile(path, bytes);
    return path;
}

FailingWrites::FailingWrites(int code, qint64 afterBytes, const QString& onlyIn)
    : mWrite([code, left = afterBytes, onlyIn](int fd, const void* data, size_t size) mutable -> ssize_t {
          if (!onlyIn.isEmpty()) {
              const QString file = QFile::symLinkTarget(QStringLiteral("/proc/self/fd/%1").arg(fd));
              if (!file.startsWith(QDir(onlyIn).canonicalPath() + QLatin1Char('/')))
                  return ::write(fd, data, size);
          }
          if (left <= 0) {
              errno = code;
              return -1;
          }
          const ssize_t n = ::write(fd, data, std::min<size_t>(size, static_cast<size_t>(left)));
          if (n > 0)
              left -= n;
          return n;
      })
{}

FailingReads::FailingReads(int code)
    : mRead([code](int, void*, size_t) -> ssize_t {
          errno = code;
          return -1;
      })
{}

QByteArray nestedListValue(int depth)
{
    // Each level is a variant of type list (9) holding one item; the last holds none.
    const QByteArray level = QByteArrayLiteral("\\x00\\x00\\x00\\x09\\x00\\x00\\x00\\x01");
    const QByteArray last = QByteArrayLiteral("\\x00\\x00\\x00\\x09\\x00\\x00\\x00\\x00");
    return "@Variant(" + level.repeated(depth - 1) + last + ')';
}

SmallDisk::SmallDisk(const char* size)
    : mMounted(::mount("tmpfs", QFile::encodeName(mDir.path()).constData(), "tmpfs", 0,
                       (QByteArray("size=") + size).constData())
               == 0)
{
    if (!mMounted)
        std::printf("a small disk can't be mounted here (needs root): %s\n", std::strerror(errno));
}

SmallDisk::~SmallDisk()
{
    if (mMounted)
        ::umount2(QFile::encodeName(mDir.path()).constData(), MNT_DETACH);
}

void SmallDisk::fill() const
{
    const QString filler = QDir(path()).filePath(QStringLiteral("filler"));
    const int fd = ::open(QFile::encodeName(filler).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ASSERT_GE(fd, 0);
    const QByteArray block(512, 'x');
    off_t size = 0;
    for (ssize_t n; (n = ::write(fd, block.constData(), block.size())) > 0;)
        size += n;
    ASSERT_EQ(::ftruncate(fd, size - 4096), 0);
    ::close(fd);
}

void SmallDisk::free() const { QFile::remove(QDir(path()).filePath(QStringLiteral("filler"))); }

bool eventually(const std::function<bool()>& condition, int ms)
{
    QElapsedTimer waited;
    waited.start();
    while (!condition()) {
        if (waited.elapsed() > ms)
            return false;
        QTest::qWait(20);
    }
    return true;
}

void requireFontFor(const QString& sample, const char* fontAndPackage)
{
    const QList<QFontDatabase::WritingSystem> none;
    for (const QString& family : QFontDatabase::families()) {
        const QRawFont raw = QRawFont::fromFont(QFont(family));
        if (raw.isValid()
            && std::all_of(sample.begin(), sample.end(), [&](QChar c) { return raw.supportsCharacter(c); }))
            return;
    }
    FAIL() << "no installed font shows '" << sample.toStdString() << "': the test needs " << fontAndPackage;
}

QByteArray readAll(const QString& path)
{
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
    return f.readAll();
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    f.write(bytes);
}

bool giveToAnotherUser(const QString& path) { return ::lchown(QFile::encodeName(path).constData(), 65534, 65534) == 0; }

QString pathOfDescriptor(int fd) { return QFile::symLinkTarget(QStringLiteral("/proc/self/fd/%1").arg(fd)); }

QString writeTemplate(const QString& folder, const QString& name)
{
    const QString path = QDir(folder).filePath(name);
    writeFile(path, app::LoadResData(101, QStringLiteral("CUSTOM")));
    return path;
}

QByteArray makeCursorFile(int size, int hotX, int hotY)
{
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    for (int i = 0; i < size; ++i)
        image.setPixel(i, i, qRgba(0, 0, 0, 255));
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "ico");
    EXPECT_TRUE(writer.write(image)) << writer.errorString().toStdString();
    QByteArray bytes = buffer.data();
    // An icon and a cursor differ in the type word and in the entry's two
    // words that a cursor uses for its hot spot.
    qToLittleEndian<quint16>(2, bytes.data() + 2);
    qToLittleEndian<quint16>(static_cast<quint16>(hotX), bytes.data() + 10);
    qToLittleEndian<quint16>(static_cast<quint16>(hotY), bytes.data() + 12);
    return bytes;
}

}  // namespace testing_support
