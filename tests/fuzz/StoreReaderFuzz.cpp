// libFuzzer target: bytes into the settings store's reader, as a settings file
// another program or a failing disk may leave. Built with -DCORVALIN_FUZZ=ON
// (clang), run by `scripts/fuzz.sh store`; the seeds in store-corpus/ are also
// replayed by the test suite.
//
// Beyond not crashing, the file must stay what it said: the store writes a
// value into it, writes it out and reads it again, and then the value is the
// one written, every other key says what it said before, writing the same
// value again changes nothing, and the file is written out the same again. The end of the input names the text written
// and one more key to look up, so that both meet every character.
#include "meeting/IniFile.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <stdexcept>
#include <string>

namespace {

const QString kSection = QStringLiteral("Corvalin");

// What a key reads as, a refusal included.
QString reading(const meeting::IniFile& file, const QString& section, const QString& key)
{
    try {
        return file.value(section, key).value_or(QStringLiteral("<none>"));
    } catch (const std::runtime_error& e) {
        return QStringLiteral("<refused> ") + QString::fromUtf8(e.what());
    }
}

// Thrown, it ends the fuzzer as a crash does, and fails the test that replays the seeds.
[[noreturn]] void fail(const char* what, const QString& key = QString(), const QString& expected = QString(),
                       const QString& got = QString())
{
    throw std::logic_error(QStringLiteral("%1: key '%2' expected '%3', got '%4'")
                               .arg(QLatin1String(what), key, expected, got)
                               .toStdString());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));

    // The last bytes, as UTF-16 taken as it comes (NULs, halves of pairs), are
    // the text; a key in any case or script comes from the bytes before them.
    const size_t textBytes = std::min<size_t>(size, 24) & ~size_t(1);
    std::u16string units(textBytes / 2, u'\0');
    if (textBytes > 0)
        std::memcpy(units.data(), data + size - textBytes, textBytes);
    const QString text = QString::fromStdU16String(units);
    const QString ownKey = QString::fromUtf8(bytes.first(qsizetype(size - textBytes)).right(12));

    meeting::IniFile file = meeting::IniFile::parse(bytes);
    const QString keys[] = {QStringLiteral("txtTitle"),      QStringLiteral("TXTTITLE"),
                            QStringLiteral("txtTimeKeeper"), QStringLiteral("txtTimekeeper"),
                            QStringLiteral("txtNotes"),      ownKey};
    QString before[std::size(keys)];
    for (size_t i = 0; i < std::size(keys); ++i)
        before[i] = reading(file, kSection, keys[i]);

    file.setValue(kSection, QStringLiteral("TxtNotes"), text);
    const QByteArray out = file.serialize();
    const meeting::IniFile again = meeting::IniFile::parse(out);
    if (again.serialize() != out)
        fail("a file the store wrote is written otherwise once read again", QString(), QString::fromUtf8(out.left(400)),
             QString::fromUtf8(again.serialize().left(400)));
    const QString written = reading(again, kSection, QStringLiteral("txtNotes"));
    if (written != text)
        fail("the value written does not read back", QStringLiteral("txtNotes"), text, written);
    for (size_t i = 0; i < std::size(keys); ++i) {
        if (keys[i].compare(QStringLiteral("txtNotes"), Qt::CaseInsensitive) == 0)
            continue;
        const QString after = reading(again, kSection, keys[i]);
        if (after != before[i])
            fail("a key not written reads otherwise once written back", keys[i], before[i], after);
    }
    meeting::IniFile same = again;
    if (same.setValue(kSection, QStringLiteral("txtnotes"), text))
        fail("writing the value the file holds changes it", QStringLiteral("txtNotes"), text, text);
    return 0;
}
