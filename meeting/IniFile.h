#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QVarLengthArray>

#include <optional>

namespace meeting {

// The text of a settings file: sections of "key=value" lines in the INI
// dialect that Qt's settings classes read and write, so that files written
// by earlier versions of the program read back exactly as they did, and
// files written here read back the same with Qt's own reader.
//
// What is not changed is written back as it was read: an entry keeps its
// spelling and the bytes of its value, sections and keys keep their order
// (a key written twice in a section too, of which the later counts); new keys
// go to the end of their section. Comments and lines that are not entries are
// dropped, as Qt's writer drops them.
//
// Why not Qt's settings classes themselves: their reader deserialises every
// "@Variant(" value of a section it reads, so what another program leaves in
// the shared file can crash each start unless a scan goes in front of it;
// their keys are case-sensitive on this platform, so the case-blind lookup
// would be ours anyway; they open the file by name (a FIFO there hangs them)
// and read it whatever its size; and their writer sorts and re-encodes every
// entry, other programs' too. That scan alone would need most of this reader
// (the dialect's lines, quotes and escapes: "\x40Variant(" is one too), which
// is here already, and the tests hold it to Qt's reader on random files.
class IniFile {
public:
    static IniFile parse(const QByteArray& bytes);
    QByteArray serialize() const;

    // The value stored under `key` in `section`, both found without regard
    // to case; none when there is no such key (or it holds no value). Throws
    // std::runtime_error, naming the key, when the value is not text but a
    // serialised one, which is never deserialised.
    std::optional<QString> value(const QString& section, const QString& key) const;
    // Stores the value under the key's stored spelling (the one given when
    // there is none yet). Returns whether the file's content changed.
    bool setValue(const QString& section, const QString& key, const QString& value);

private:
    struct Entry {
        QByteArray rawKey;  // as written in the file
        QByteArray raw;  // the value as written in the file
    };
    struct Section {
        QString prefix;  // its name and '/'; empty for [General] and the entries before any section
        QByteArray rawHeader;
        QList<Entry> entries;  // in the file's order; of a key's lines, the last counts
    };
    struct Place {
        qsizetype section = 0, entry = 0;
    };
    struct Spelling {
        QString full;  // "prefix" + key, as a reader names the entry
        Place place;
    };

    qsizetype sectionWithPrefix(const QString& prefix, const QByteArray& rawHeader);
    // Takes a section's entries, or one entry, into the index.
    void index(qsizetype section) const;
    void index(Place place) const;
    // The entry that `section` and `key`, asked for without regard to case,
    // stand for: of the spellings stored, the one whose section is spelled as
    // asked, otherwise the least section, and in it the least key (Qt's
    // reader sorts them so). Only sections that hold the key count, so a
    // section of the same name in another case hides nothing.
    std::optional<Place> find(const QString& section, const QString& key) const;

    // Copies share all of it until one changes: a copy made to try a change
    // costs nothing when the change turns out to be none.
    QByteArray mSource;  // the bytes read, which unchanged entries' raw parts point into
    QList<Section> mSections;
    QHash<QString, qsizetype> mSectionsByPrefix;
    QHash<QString, QList<qsizetype>> mSectionsByFoldedPrefix;
    // The entries of the sections lookups have needed, by full key folded to
    // one case; built as they need it.
    mutable QHash<QString, QVarLengthArray<Spelling, 1>> mIndex;
    mutable QSet<qsizetype> mIndexed;
};

}  // namespace meeting
