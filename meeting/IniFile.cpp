#include "meeting/IniFile.h"

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QStringDecoder>
#include <QStringList>
#include <QVariant>

#include <algorithm>
#include <stdexcept>

namespace meeting {

namespace {

constexpr unsigned char kSpace = 1, kSpecial = 2;

unsigned char traits(char c)
{
    switch (c) {
    case '\t': return kSpace;
    case ' ': return kSpace;
    case '\n':
    case '\r': return kSpace | kSpecial;
    case '"':
    case ';':
    case '=':
    case '\\': return kSpecial;
    default: return 0;
    }
}

// The first character at or after `i` that may end or carry on a line, or the
// end of the data.
qsizetype nextSpecial(QByteArrayView data, qsizetype i)
{
    while (i < data.size() && !(traits(data[i]) & kSpecial))
        ++i;
    return i;
}

// One logical line: where it starts, how long it is, where its first '='
// outside quotes stands (-1 for none), and whether it holds neither a quote nor
// a backslash. Blank lines and comments are skipped; quotes and a backslash
// before the line end carry a line on.
bool readLine(QByteArrayView data, qsizetype& pos, qsizetype& start, qsizetype& length, qsizetype& equals, bool& plain)
{
    const qsizetype size = data.size();
    bool inQuotes = false;
    equals = -1;
    plain = true;
    start = pos;
    while (start < size && (traits(data[start]) & kSpace))
        ++start;
    qsizetype i = start;
    while (i < size) {
        i = nextSpecial(data, i);
        if (i == size)
            break;
        const char ch = data[i++];
        if (ch == '=') {
            if (!inQuotes && equals == -1)
                equals = i - 1;
        } else if (ch == '\n' || ch == '\r') {
            if (i == start + 1) {
                ++start;
            } else if (!inQuotes) {
                --i;
                break;
            }
        } else if (ch == '\\') {
            plain = false;
            if (i < size) {
                const char next = data[i++];
                if (i < size) {
                    const char after = data[i];
                    if ((next == '\n' && after == '\r') || (next == '\r' && after == '\n'))
                        ++i;
                }
            }
        } else if (ch == '"') {
            plain = false;
            inQuotes = !inQuotes;
        } else {  // ';'
            if (i == start + 1) {
                while (i < size && data[i] != '\n' && data[i] != '\r')
                    ++i;
                while (i < size && (traits(data[i]) & kSpace))
                    ++i;
                start = i;
            } else if (!inQuotes) {
                --i;
                break;
            }
        }
    }
    pos = i;
    length = i - start;
    return length > 0;
}

int hexValue(char16_t c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

int octValue(char c) { return c >= '0' && c <= '7' ? c - '0' : -1; }

QString unescapeKey(QByteArrayView raw)
{
    if (!raw.contains('%') && !raw.contains('\\'))
        return QString::fromUtf8(raw);
    const QString decoded = QString::fromUtf8(raw);
    const qsizetype size = decoded.size();
    QString result;
    result.reserve(size);
    for (qsizetype i = 0; i < size;) {
        const QChar ch = decoded.at(i);
        if (ch == u'\\') {
            result += u'/';
            ++i;
            continue;
        }
        if (ch != u'%' || i == size - 1) {
            result += ch;
            ++i;
            continue;
        }
        qsizetype first = i + 1;
        int digits = 2;
        if (decoded.at(first) == u'U') {
            ++first;
            digits = 4;
        }
        bool ok = first + digits <= size;
        ushort code = 0;
        if (ok)
            code = QStringView(decoded).sliced(first, digits).toUShort(&ok, 16);
        if (!ok) {
            result += u'%';
            ++i;
            continue;
        }
        result += QChar(code);
        i = first + digits;
    }
    return result;
}

QByteArray escapeKey(const QString& key)
{
    static const char hex[] = "0123456789ABCDEF";
    QByteArray out;
    out.reserve(key.size() * 3 / 2);
    for (qsizetype i = 0; i < key.size(); ++i) {
        const uint ch = key.at(i).unicode();
        if (ch == '/' && i + 1 < key.size()) {
            out += '\\';
        } else if (ch == '/') {
            out += "%2F";  // a backslash before the '=' would hide it
        } else if ((ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9') || ch == '_'
                   || ch == '-' || ch == '.') {
            out += char(ch);
        } else if (ch <= 0xFF) {
            out += '%';
            out += hex[ch / 16];
            out += hex[ch % 16];
        } else {
            out += "%U";
            for (int shift = 12; shift >= 0; shift -= 4)
                out += hex[(ch >> shift) & 0xF];
        }
    }
    return out;
}

// The header that starts the section whose keys begin with `prefix`.
QByteArray sectionHeader(const QString& prefix)
{
    if (prefix.isEmpty())
        return "[General]";
    const QByteArray escaped = escapeKey(prefix.chopped(1));
    if (escaped.compare("general", Qt::CaseInsensitive) == 0)
        return "[%" + escaped + ']';
    return '[' + escaped + ']';
}

void chopTrailingBlanks(QString& s, qsizetype limit)
{
    qsizetype n = s.size() - 1;
    while (n >= limit && (s.at(n) == u' ' || s.at(n) == u'\t'))
        s.truncate(n--);
}

// A value read state by state: blanks before an item, plain text and named
// escapes, then the digits of a hex or octal escape, until the value ends.
class ValueUnescaper {
public:
    enum class State { SkipBlanks, Normal, Hex, Oct, End };

    ValueUnescaper(QByteArrayView str, QString& text, QStringList& list) : str(str), text(text), list(list) {}

    State skipBlanks()
    {
        while (i < str.size() && (str[i] == ' ' || str[i] == '\t'))
            ++i;
        return State::Normal;
    }

    // An item's text up to a comma outside quotes; blanks after its last
    // unquoted text are no part of it.
    State normal()
    {
        chopLimit = text.size();
        while (i < str.size()) {
            const char c = str[i];
            if (c == '\\') {
                if (const std::optional<State> next = escape())
                    return *next;
            } else if (c == '"') {
                ++i;
                quoted = true;
                inQuotes = !inQuotes;
                if (!inQuotes)
                    return State::SkipBlanks;
            } else if (c == ',' && !inQuotes) {
                return endItem();
            } else {
                plainText();
            }
        }
        if (!quoted)
            chopTrailingBlanks(text, chopLimit);
        return State::End;
    }

    // One more digit of a \x (Hex) or an octal (Oct) escape; the first other
    // character ends it.
    State codeDigit(State escape)
    {
        if (i >= str.size()) {
            text += QChar(code);
            return State::End;
        }
        const bool hex = escape == State::Hex;
        if (const int d = hex ? hexValue(uchar(str[i])) : octValue(str[i]); d >= 0) {
            code = char16_t((code << (hex ? 4 : 3)) + d);
            ++i;
            return escape;
        }
        text += QChar(code);
        return State::Normal;
    }

    // Whether the value was a list; its last item is added here.
    bool finish()
    {
        if (isList)
            list.append(text);
        return isList;
    }

private:
    // After a backslash: the state the escape leads to, none when plain text
    // goes on.
    std::optional<State> escape()
    {
        static const char kEscapes[][2] = {{'a', '\a'}, {'b', '\b'},  {'f', '\f'}, {'n', '\n'},
                                           {'r', '\r'}, {'t', '\t'},  {'v', '\v'}, {'"', '"'},
                                           {'?', '?'},  {'\'', '\''}, {'\\', '\\'}};
        ++i;
        if (i >= str.size())
            return State::End;
        const char e = str[i++];
        for (const auto& pair : kEscapes)
            if (e == pair[0]) {
                text += QLatin1Char(pair[1]);
                return State::Normal;  // with a new chop limit
            }
        if (e == 'x') {
            code = 0;
            if (i >= str.size())
                return State::End;
            if (hexValue(uchar(str[i])) >= 0)
                return State::Hex;
        } else if (octValue(e) >= 0) {
            code = char16_t(octValue(e));
            return State::Oct;
        } else if (e == '\n' || e == '\r') {
            if (i < str.size()) {
                const char e2 = str[i];
                if ((e2 == '\n' || e2 == '\r') && e2 != e)
                    ++i;
            }
        }
        chopLimit = text.size();
        return std::nullopt;
    }

    // A comma outside quotes ends an item and makes the value a list.
    State endItem()
    {
        if (!quoted)
            chopTrailingBlanks(text, chopLimit);
        if (!isList) {
            isList = true;
            list.clear();
        }
        list.append(text);
        text.clear();
        quoted = false;
        ++i;
        return State::SkipBlanks;
    }

    // Text up to the next backslash, quote or comma, as UTF-8.
    void plainText()
    {
        qsizetype j = i + 1;
        while (j < str.size() && str[j] != '\\' && str[j] != '"' && str[j] != ',')
            ++j;
        text += utf8(str.sliced(i, j - i));
        i = j;
    }

    QByteArrayView str;
    QString& text;
    QStringList& list;
    bool isList = false, inQuotes = false, quoted = false;
    char16_t code = 0;
    qsizetype i = 0;
    QStringDecoder utf8{QStringDecoder::Utf8};
    qsizetype chopLimit = 0;
};

// A value as one text, or as a list when it holds commas outside quotes.
bool unescapeValue(QByteArrayView str, QString& text, QStringList& list)
{
    using State = ValueUnescaper::State;
    ValueUnescaper value(str, text, list);
    State state = State::SkipBlanks;
    while (state != State::End) {
        switch (state) {
        case State::SkipBlanks: state = value.skipBlanks(); break;
        case State::Normal: state = value.normal(); break;
        case State::Hex: state = value.codeDigit(State::Hex); break;
        case State::Oct: state = value.codeDigit(State::Oct); break;
        case State::End: break;
        }
    }
    return value.finish();
}

QStringList splitArguments(const QString& s, qsizetype open)
{
    QStringList result;
    QString item;
    for (qsizetype i = open + 1; i < s.size(); ++i) {
        const QChar c = s.at(i);
        if (c == u')') {
            result.append(item);
        } else if (c == u' ') {
            result.append(item);
            item.clear();
        } else {
            item.append(c);
        }
    }
    return result;
}

// The typed values that Qt's writer marks with '@'; "@@" stands for a text
// that begins with '@'. None for a serialised value ("@Variant(", "@DateTime("):
// the store holds only text, and deserialising what another program left
// there may take any amount of stack.
std::optional<QVariant> typedValue(const QString& s)
{
    if (!s.startsWith(u'@'))
        return QVariant(s);
    if (s.endsWith(u')')) {
        if (s.startsWith(QLatin1String("@ByteArray("))) {
            return QVariant(QStringView(s).sliced(11, s.size() - 12).toLatin1());
        } else if (s.startsWith(QLatin1String("@String("))) {
            return QVariant(s.sliced(8, s.size() - 9));  // how Qt's writer keeps a text holding a NUL
        } else if (s.startsWith(QLatin1String("@Variant(")) || s.startsWith(QLatin1String("@DateTime("))) {
            return std::nullopt;
        } else if (s.startsWith(QLatin1String("@Rect("))) {
            const QStringList a = splitArguments(s, 5);
            if (a.size() == 4)
                return QVariant(QRect(a[0].toInt(), a[1].toInt(), a[2].toInt(), a[3].toInt()));
        } else if (s.startsWith(QLatin1String("@Size("))) {
            const QStringList a = splitArguments(s, 5);
            if (a.size() == 2)
                return QVariant(QSize(a[0].toInt(), a[1].toInt()));
        } else if (s.startsWith(QLatin1String("@Point("))) {
            const QStringList a = splitArguments(s, 6);
            if (a.size() == 2)
                return QVariant(QPoint(a[0].toInt(), a[1].toInt()));
        } else if (s == QLatin1String("@Invalid()")) {
            return QVariant();
        }
    }
    if (s.startsWith(QLatin1String("@@")))
        return QVariant(s.sliced(1));
    return QVariant(s);
}

// A stored value as Qt's reader types it (none for a serialised one). A list
// is never text, whatever its items hold: a list of two or more converts to
// no text, so its items need no typing.
std::optional<QVariant> decodeValue(QByteArrayView raw)
{
    QString text;
    QStringList list;
    return unescapeValue(raw, text, list) ? QVariant(list) : typedValue(text);
}

// Whether a line written as it stands reads back as itself, ending at its own
// end (an unclosed quote or a trailing backslash would swallow the next), and
// for an entry with its '=' right after the key (a backslash ending the key
// would hide it).
bool standsAlone(QByteArrayView line, qsizetype keyLength = -1)
{
    const auto risky = [](char c) { return c == '"' || c == '\\' || c == '\n' || c == '\r' || c == ';'; };
    if (std::none_of(line.begin(), line.end(), risky))
        return true;
    const QByteArray data = line.toByteArray() + "\nz=z\n";
    qsizetype pos = 0, start = 0, length = 0, equals = -1;
    bool plain = true;
    return readLine(data, pos, start, length, equals, plain) && start == 0 && length == line.size()
           && (keyLength < 0 || equals == keyLength);
}

// A name as compared without regard to case: code point by code point, as
// QString::compare does it, so that names equal that way fold alike.
QString folded(QStringView name)
{
    // Keys are mostly ASCII: folded in place, without a check of room for each.
    QString out(name.size(), Qt::Uninitialized);
    char16_t* ascii = reinterpret_cast<char16_t*>(out.data());
    qsizetype i = 0;
    for (; i < name.size() && name[i].unicode() < 0x80; ++i) {
        const char16_t c = name[i].unicode();
        ascii[i] = c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c;
    }
    out.truncate(i);
    for (; i < name.size(); ++i) {
        char32_t c = name[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < name.size() && name[i + 1].isLowSurrogate()) {
            c = QChar::surrogateToUcs4(name[i], name[i + 1]);
            ++i;
        }
        c = QChar::toCaseFolded(c);
        if (QChar::requiresSurrogates(c)) {
            out += QChar(QChar::highSurrogate(c));
            out += QChar(QChar::lowSurrogate(c));
        } else {
            out += QChar(char16_t(c));
        }
    }
    return out;
}

QString fullKey(const QString& section, const QString& key) { return section.isEmpty() ? key : section + u'/' + key; }

// One text in the dialect's escaped form, taken literally: a leading '@' stays
// a type mark.
QByteArray escapeValue(const QString& s)
{
    QByteArray out;
    out.reserve(s.size() + 8);
    bool needsQuotes = false;
    bool escapeNextIfHex = false;
    const auto hexEscape = [&](uint code) {
        out += "\\x";
        out += QByteArray::number(code, 16);
        escapeNextIfHex = true;  // a following hex digit would extend the escape
    };
    for (qsizetype i = 0; i < s.size(); ++i) {
        const QChar qc = s.at(i);
        const char16_t ch = qc.unicode();
        if (ch == ';' || ch == ',' || ch == '=')
            needsQuotes = true;
        if (escapeNextIfHex && hexValue(ch) >= 0) {
            hexEscape(ch);
            continue;
        }
        escapeNextIfHex = false;
        switch (ch) {
        case '\0':
            out += "\\0";
            escapeNextIfHex = true;
            break;
        case '\a': out += "\\a"; break;
        case '\b': out += "\\b"; break;
        case '\f': out += "\\f"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        case '\v': out += "\\v"; break;
        case '"':
        case '\\':
            out += '\\';
            out += char(ch);
            break;
        default:
            if (ch <= 0x1F || ch == 0xFEFF) {
                // A byte-order mark would be dropped by a reader decoding the line.
                hexEscape(ch);
            } else if (qc.isHighSurrogate() && i + 1 < s.size() && s.at(i + 1).isLowSurrogate()) {
                out += QStringView(s).sliced(i, 2).toUtf8();
                ++i;
            } else if (qc.isSurrogate()) {
                hexEscape(ch);  // half a pair has no UTF-8 form
            } else if (ch < 0x80) {
                out += char(ch);
            } else {
                out += QStringView(&qc, 1).toUtf8();
            }
        }
    }
    if (needsQuotes || (!out.isEmpty() && (out.front() == ' ' || out.back() == ' ')))
        out = '"' + out + '"';
    return out;
}

// A text as a value: a leading '@' is doubled so that it reads as text.
QByteArray encodeValue(const QString& value) { return escapeValue(value.startsWith(u'@') ? u'@' + value : value); }

// A value written anew in the escaped form, saying to any reader what it said:
// the same text or list, the same type marks, nothing decoded.
QByteArray reescapeValue(QByteArrayView raw)
{
    QString text;
    QStringList list;
    if (!unescapeValue(raw, text, list))
        return escapeValue(text);
    QByteArray out;
    for (const QString& item : list)
        out += (out.isEmpty() ? QByteArray() : QByteArrayLiteral(", ")) + escapeValue(item);
    return out;
}

}  // namespace

IniFile IniFile::parse(const QByteArray& bytes)
{
    IniFile file;
    // The entries' raw bytes are views into one copy of the file, kept with it
    // (and shared by its copies), and keys are decoded only in the sections a
    // lookup may find them in: a section of 40,000 keys another program keeps
    // costs little more than its reading.
    file.mSource = QByteArray(bytes.constData(), bytes.size());
    QByteArrayView data(file.mSource);
    if (data.startsWith("\xef\xbb\xbf"))
        data = data.sliced(3);
    const auto view = [](QByteArrayView part) { return QByteArray::fromRawData(part.data(), part.size()); };
    qsizetype current = -1;
    qsizetype pos = 0, start = 0, length = 0, equals = -1;
    bool plain = true;
    while (readLine(data, pos, start, length, equals, plain)) {
        const QByteArrayView line = data.sliced(start, length);
        if (line.startsWith('[')) {
            qsizetype close = line.indexOf(']');
            if (close < 0)
                close = length;
            const QByteArrayView header = line.first(close).sliced(1).trimmed();
            // Every section but [General] puts its name and a '/' before its
            // keys, an empty name too.
            QString prefix;
            if (header.compare("general", Qt::CaseInsensitive) == 0)
                prefix.clear();
            else if (header.compare("%general", Qt::CaseInsensitive) == 0)
                prefix = QString::fromLatin1(header.sliced(1)) + u'/';
            else
                prefix = unescapeKey(header) + u'/';
            const QByteArray rawHeader = '[' + header.toByteArray() + ']';
            current = file.sectionWithPrefix(prefix, standsAlone(rawHeader) ? rawHeader : sectionHeader(prefix));
            continue;
        }
        if (equals < 0)
            continue;  // not an entry: dropped, as the reader ignores it
        if (current < 0)
            current = file.sectionWithPrefix(QString(), QByteArray());
        const QByteArrayView rawKey = line.first(equals - start).trimmed();
        const QByteArrayView raw = line.sliced(equals - start + 1);
        Entry entry{view(rawKey), view(raw)};
        if (!plain && !standsAlone(entry.rawKey + '=' + entry.raw, rawKey.size())) {
            // Only a damaged last line gets here (an unclosed quote, a trailing
            // backslash), or a key whose trimmed end was a line's continued
            // end; written anew, it says what it said and ends where it should.
            entry.rawKey = escapeKey(unescapeKey(rawKey));
            entry.raw = reescapeValue(raw);
        } else if (rawKey.startsWith('[') || rawKey.startsWith(';')) {
            // Behind a character the trimming took away (a vertical tab), the
            // key began a line without opening a section or a comment; at the
            // start of a written line it would.
            entry.rawKey = escapeKey(unescapeKey(rawKey));
        }
        file.mSections[current].entries.append(std::move(entry));
    }
    return file;
}

qsizetype IniFile::sectionWithPrefix(const QString& prefix, const QByteArray& rawHeader)
{
    const auto found = mSectionsByPrefix.constFind(prefix);
    if (found != mSectionsByPrefix.cend())
        return *found;
    mSections.append(Section{prefix, rawHeader.isEmpty() ? sectionHeader(prefix) : rawHeader, {}});
    mSectionsByPrefix.insert(prefix, mSections.size() - 1);
    mSectionsByFoldedPrefix[folded(prefix)].append(mSections.size() - 1);
    return mSections.size() - 1;
}

void IniFile::index(qsizetype section) const
{
    if (mIndexed.contains(section))
        return;
    mIndexed.insert(section);
    for (qsizetype e = 0; e < mSections[section].entries.size(); ++e)
        index(Place{section, e});
}

void IniFile::index(Place place) const
{
    const Section& s = mSections[place.section];
    const QString full = s.prefix + unescapeKey(s.entries[place.entry].rawKey);
    QVarLengthArray<Spelling, 1>& spellings = mIndex[folded(full)];
    for (Spelling& known : spellings)
        if (known.place.section == place.section && known.full == full) {
            known.place = place;  // of a key's lines in one section, the last counts
            return;
        }
    spellings.append(Spelling{full, place});
}

QByteArray IniFile::serialize() const
{
    QByteArray out;
    qsizetype size = 0;
    for (const Section& s : mSections)
        for (const Entry& e : s.entries)
            size += e.rawKey.size() + e.raw.size() + 2;
    out.reserve(size + 64);
    for (const Section& s : mSections) {
        if (s.entries.empty())
            continue;
        if (!out.isEmpty())
            out += '\n';
        out += s.rawHeader;
        out += '\n';
        for (const Entry& e : s.entries) {
            out += e.rawKey;
            out += '=';
            out += e.raw;
            out += '\n';
        }
    }
    return out;
}

std::optional<IniFile::Place> IniFile::find(const QString& section, const QString& key) const
{
    const QString asked = folded(fullKey(section, key));
    // The sections whose keys can make that name: [General] and those whose
    // prefix, folded, begins it.
    for (qsizetype slash = -1;;) {
        for (const qsizetype s : mSectionsByFoldedPrefix.value(asked.first(slash + 1)))
            index(s);
        if ((slash = asked.indexOf(u'/', slash + 1)) < 0)
            break;
    }
    const auto spellings = mIndex.constFind(asked);
    if (spellings == mIndex.cend() || spellings->isEmpty())
        return std::nullopt;
    // Folding keeps each '/' where it was, so the section of every spelling
    // ends at the slash that ends the one asked for.
    const qsizetype slashes = section.isEmpty() ? 0 : section.count(u'/') + 1;
    const auto sectionEnd = [&](const QString& full) {
        qsizetype end = -1;
        for (qsizetype n = 0; n < slashes; ++n)
            end = full.indexOf(u'/', end + 1);
        return end;
    };
    // The section spelled as asked, else the least spelling; in it the least
    // key; of one full key in two sections, the later by prefix, which Qt's
    // reader takes last.
    const auto better = [&](const Spelling& a, const Spelling& b) {
        const qsizetype endA = sectionEnd(a.full), endB = sectionEnd(b.full);
        const QStringView sectionA = QStringView(a.full).first(std::max<qsizetype>(endA, 0));
        const QStringView sectionB = QStringView(b.full).first(std::max<qsizetype>(endB, 0));
        if ((sectionA == section) != (sectionB == section))
            return sectionA == section;
        if (sectionA != sectionB)
            return sectionA < sectionB;
        if (a.full != b.full)
            return QStringView(a.full).sliced(endA + 1) < QStringView(b.full).sliced(endB + 1);
        return mSections[b.place.section].prefix < mSections[a.place.section].prefix;
    };
    const Spelling* best = &spellings->front();
    for (const Spelling& other : *spellings)
        if (better(other, *best))
            best = &other;
    return best->place;
}

std::optional<QString> IniFile::value(const QString& section, const QString& key) const
{
    const std::optional<Place> place = find(section, key);
    if (!place)
        return std::nullopt;
    const std::optional<QVariant> v = decodeValue(mSections[place->section].entries[place->entry].raw);
    if (!v)
        throw std::runtime_error(QStringLiteral("The saved value of '%1' is not text").arg(key).toStdString());
    if (!v->isValid())
        return std::nullopt;
    return v->toString();
}

bool IniFile::setValue(const QString& section, const QString& key, const QString& value)
{
    if (const std::optional<Place> place = find(section, key)) {
        const std::optional<QVariant> v = decodeValue(mSections[place->section].entries[place->entry].raw);
        if (v && v->typeId() == QMetaType::QString && v->toString() == value)
            return false;
        mSections[place->section].entries[place->entry].raw = encodeValue(value);  // a copy's first change parts it
        return true;
    }
    // A new key goes to the section spelled as asked, even when another
    // program keeps a section of that name in another case.
    const qsizetype s = sectionWithPrefix(section.isEmpty() ? QString() : section + u'/', QByteArray());
    index(s);
    mSections[s].entries.append(Entry{escapeKey(key), encodeValue(value)});
    index(Place{s, mSections[s].entries.size() - 1});
    return true;
}

}  // namespace meeting
