#pragma once

#include "meeting/IniFile.h"

#include <QString>
#include <QTimer>
#include <functional>
#include <memory>
#include <optional>
#include <sys/types.h>
#include <vector>

namespace meeting {

inline constexpr char kApplication[] = "Tessaly";
inline constexpr char kSection[] = "Corvalin";

// What keeps the store from its file at the moment, for the user to see.
struct StoreTrouble {
    enum class Kind { None, Unreadable, Unwritable };
    Kind kind = Kind::None;
    QString file;  // as the user writes it
    QString reason;  // the system's words ("No space left on device")
    bool operator==(const StoreTrouble&) const = default;
};

// The per-user store of text values addressed by application, section and
// key. Keys are compared without regard to case; a missing key reads as the
// caller's default; nothing is ever deleted.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    virtual QString get(const QString& application, const QString& section, const QString& key,
                        const QString& fallback) = 0;
    virtual void save(const QString& application, const QString& section, const QString& key, const QString& value) = 0;

    // Saves that belong together: while writes are held, saves only collect,
    // and the last release writes them all at once (see OneWrite).
    virtual void holdWrites() {}
    virtual void releaseWrites() {}

    // A store that writes every value as it is saved has nothing left over:
    // these are for one that may not be able to.

    // Tries once more, waiting a little longer, to write what could not be
    // written yet; true when nothing is left unwritten.
    virtual bool flush() { return true; }
    virtual StoreTrouble trouble() const { return {}; }
    // Keeps what is still unwritten in a recovery file of the store's own,
    // for the next start to offer back; true when kept (or nothing was left).
    virtual bool keepForRecovery() { return true; }
};

// The production store: one INI file per application in the settings folder
// ("Tessaly.ini"), in the dialect of Qt's settings files.
//
// Every save replaces the file whole: a new file beside it, flushed, then
// renamed over it, under the same lock file Qt's settings use, so a save
// never leaves a short or mixed file. A save first takes in what another
// instance wrote meanwhile, so two instances typing into different fields
// keep each other's values. A save of the value the file already holds
// writes nothing.
//
// A keystroke never waits long: when the lock is held elsewhere, or the file
// can't be written (a full disk, no permission, a folder that vanished) or
// read, what was typed stays pending in memory, the trouble is told to the
// listener (the entry window shows it without taking a key), and a timer
// tries again until a save works. Nothing is shown while the lock is held.
// When the file can't be read, it is left alone until it can be read again.
class IniSettingsStore : public SettingsStore {
public:
    explicit IniSettingsStore(const QString& folder);
    ~IniSettingsStore() override;

    QString get(const QString& application, const QString& section, const QString& key,
                const QString& fallback) override;
    void save(const QString& application, const QString& section, const QString& key, const QString& value) override;
    bool flush() override;
    StoreTrouble trouble() const override { return mTrouble; }
    bool keepForRecovery() override;
    void holdWrites() override { ++mHeld; }
    void releaseWrites() override;

    QString filePath(const QString& application) const;
    // Where values this store could not write are kept when the program is
    // stopped: one file per store, in the private temporary folder.
    static QString recoveryFilePath(const QString& storePath);

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

    void open(const QString& application);
    void removeLeftovers();
    // Offers back what a stopped run of the program kept for this store.
    void takeInRecovered();
    // Reads the file again unless it is the one last read or written; false
    // (with mReadFailure) when it can't be read.
    bool refresh();
    std::optional<Stamp> stampOnDisk(int* error) const;
    // The file as it would be with this instance's changes; none when it
    // already holds every one of them.
    std::optional<IniFile> withPending() const;
    // Writes what is pending, waiting up to `lockWaitMs` for the lock, and
    // says what kept it from the file. The lock is let go before anyone is told.
    StoreTrouble writePending(int lockWaitMs);
    void attempt(int lockWaitMs);
    void setTrouble(const StoreTrouble& trouble);

    QString mFolder;
    QString mApplication;
    QString mPath;
    IniFile mDisk;  // what the file holds, as last read or written
    std::optional<Stamp> mStamp;  // of that file; none when there was no file
    bool mRead = false;
    std::vector<Change> mPending;  // this instance's changes not yet on disk
    StoreTrouble mTrouble;
    QString mReadFailure;
    QTimer mRetry;
    int mHeld = 0;  // writes held back by OneWrite, nested
};

// Told whenever the store's trouble begins, changes or ends (Kind::None).
using TroubleListener = std::function<void(const StoreTrouble&)>;
TroubleListener setTroubleListener(TroubleListener listener);  // returns the one it replaces

// The one line the user reads about the trouble; empty when there is none.
QString troubleNotice(const StoreTrouble& trouble);

// Asked when a window is closed, which ends the program: what could not be
// written is tried once more; if it still can't be, the user is asked whether
// to close anyway (No is the default), or, when the system has asked the
// program to stop and nobody may be there to answer, it is kept for the next
// start. True when the program may end.
bool mayEndProgram();

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

// The saves made while it lives reach the file together, in one replacement
// of it, or stay pending together: a crash or a failing disk leaves the values
// as they were before or as they are after, never some of each.
class OneWrite {
public:
    OneWrite() : mStore(settingsStore()) { mStore.holdWrites(); }
    ~OneWrite() { mStore.releaseWrites(); }
    OneWrite(const OneWrite&) = delete;
    OneWrite& operator=(const OneWrite&) = delete;

private:
    SettingsStore& mStore;
};

QString GetSetting(const QString& application, const QString& section, const QString& key,
                   const QString& fallback = QString());
void SaveSetting(const QString& application, const QString& section, const QString& key, const QString& value);

}  // namespace meeting
