#pragma once

#include "meeting/IniFile.h"

#include <QString>
#include <memory>
#include <optional>
#include <sys/types.h>
#include <vector>

namespace meeting {

inline constexpr char kApplication[] = "Tessaly";
inline constexpr char kSection[] = "Corvalin";

// The per-user store of text values addressed by application, section and
// key. Keys are compared without regard to case; a missing key reads as the
// caller's default; nothing is ever deleted.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    virtual QString get(const QString& application, const QString& section, const QString& key,
                        const QString& fallback) = 0;
    virtual void save(const QString& application, const QString& section, const QString& key, const QString& value) = 0;
};

// The production store: one INI file per application in the settings folder
// ("Tessaly.ini"), in the dialect of Qt's settings files.
//
// Every save reaches the disk before it returns, and replaces the file whole:
// a new file beside it, flushed, then renamed over it, under the same lock
// file Qt's settings use, so a save never leaves a short or mixed file. A
// save first takes in what another instance wrote meanwhile, so two instances
// typing into different fields keep each other's values. A save of the value
// the file already holds writes nothing.
//
// When the file can't be written (a full disk, no permission, a folder that
// vanished), the user is told once; what was typed stays in memory and
// reaches the file with the first save that succeeds; a later outage is told
// again. When the file exists but can't be read, the user is told that the
// saved meeting could not be read and where it is, and the file is left
// alone until it can be read again.
class IniSettingsStore : public SettingsStore {
public:
    explicit IniSettingsStore(const QString& folder);
    ~IniSettingsStore() override;

    QString get(const QString& application, const QString& section, const QString& key,
                const QString& fallback) override;
    void save(const QString& application, const QString& section, const QString& key, const QString& value) override;

    QString filePath(const QString& application) const;

private:
    struct Stamp {
        dev_t device = 0;
        ino_t inode = 0;
        off_t size = -1;
        qint64 changed = 0;  // nanoseconds
        bool operator==(const Stamp&) const = default;
    };
    struct Change {
        QString section, key, value;
    };
    enum class Outage { None, Unreadable, Unwritable };

    void open(const QString& application);
    void removeLeftovers();
    // Reads the file again unless it is the one last read or written; false
    // (with mReadFailure) when it can't be read.
    bool refresh();
    std::optional<Stamp> stampOnDisk(int* error) const;
    // The file as it would be with this instance's changes; none when it
    // already holds every one of them.
    std::optional<IniFile> withPending() const;
    void writePending();
    void enter(Outage outage, const QString& reason);

    QString mFolder;
    QString mApplication;
    QString mPath;
    IniFile mDisk;  // what the file holds, as last read or written
    std::optional<Stamp> mStamp;  // of that file; none when there was no file
    bool mRead = false;
    std::vector<Change> mPending;  // this instance's changes not yet on disk
    Outage mOutage = Outage::None;
    QString mReadFailure;
};

// Where the production store keeps its files: the user's configuration folder
// unless a test points it elsewhere.
QString settingsFolder();
QString setSettingsFolder(QString folder);  // empty restores the user's folder

// Drops the production store's memory, so the next access reads the file anew
// (as a restart of the program would).
void reopenSettingsStore();

// The store in force; tests may stand another in (not owned; nullptr restores).
SettingsStore& settingsStore();
SettingsStore* setSettingsStore(SettingsStore* store);

QString GetSetting(const QString& application, const QString& section, const QString& key,
                   const QString& fallback = QString());
void SaveSetting(const QString& application, const QString& section, const QString& key, const QString& value);

}  // namespace meeting
