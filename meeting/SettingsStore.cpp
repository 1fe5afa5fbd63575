#include "meeting/SettingsStore.h"

#include "app/Dialogs.h"
#include "app/Environment.h"
#include "app/Files.h"
#include "platform/SafeFile.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace meeting {

namespace {

QString gFolder;
SettingsStore* gOverride = nullptr;
std::unique_ptr<IniSettingsStore> gProduction;
QString gProductionFolder;

// A store holds a meeting: far below this; a file beyond it is not one of ours.
constexpr qint64 kMaxStoreBytes = 256ll << 20;
// Another instance holds the lock only while it writes one small file.
constexpr int kLockWaitMs = 3000;

bool sameName(const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

// What a failed lock means to the user.
QString lockFailure(int code, const QString& folder)
{
    if (code == EWOULDBLOCK)
        return QStringLiteral("another program keeps the settings locked");
    if (code == EACCES || code == EPERM)
        return QStringLiteral("no permission to write in '%1'").arg(folder);
    return platform::systemReason(code);
}

}  // namespace

IniSettingsStore::IniSettingsStore(const QString& folder) : mFolder(folder) {}
IniSettingsStore::~IniSettingsStore() = default;

QString IniSettingsStore::filePath(const QString& application) const
{
    return app::joinPath(mFolder, application + QStringLiteral(".ini"));
}

void IniSettingsStore::open(const QString& application)
{
    if (mRead && sameName(mApplication, application))
        return;
    mApplication = application;
    mPath = filePath(application);
    mDisk = IniFile();
    mStamp.reset();
    mPending.clear();
    mOutage = Outage::None;
    removeLeftovers();
    if (!refresh())
        enter(Outage::Unreadable, mReadFailure);
    mRead = true;
}

void IniSettingsStore::removeLeftovers()
{
    // Only the holder of the lock writes, so what is left over while we hold
    // it belongs to a write that was killed. When another instance holds it,
    // its file is in the making: the next start clears what it leaves.
    platform::FileLock lock(mPath + QStringLiteral(".lock"));
    if (!lock.tryLock(0))
        return;
    const QString target = QFileInfo(mPath).fileName();
    const QStringList names = QDir(mFolder).entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& name : names) {
        if (!platform::isTemporaryName(name, target))
            continue;
        const QByteArray path = QFile::encodeName(QDir(mFolder).filePath(name));
        struct stat st {};
        if (::lstat(path.constData(), &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == ::getuid())
            ::unlink(path.constData());
    }
}

std::optional<IniSettingsStore::Stamp> IniSettingsStore::stampOnDisk(int* error) const
{
    struct stat st {};
    if (::stat(QFile::encodeName(mPath).constData(), &st) != 0) {
        *error = errno;
        return std::nullopt;
    }
    *error = 0;
    return Stamp{st.st_dev, st.st_ino, st.st_size, qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
}

bool IniSettingsStore::refresh()
{
    int error = 0;
    const std::optional<Stamp> now = stampOnDisk(&error);
    if (mRead && mOutage != Outage::Unreadable && now == mStamp && (now || error == ENOENT))
        return true;  // the file is the one we know
    if (!now && error != ENOENT) {
        mReadFailure = platform::systemReason(error);
        return false;
    }
    IniFile disk;
    std::optional<Stamp> read;
    if (now) {
        try {
            // The settings folder is the user's own: a link placed there is
            // followed, but a FIFO or a device is never waited on.
            platform::FileDescriptor file(platform::openRegularForReading(mPath, platform::Links::Follow));
            struct stat st {};
            ::fstat(file.get(), &st);
            disk = IniFile::parse(platform::readAll(file.get(), kMaxStoreBytes, mPath));
            read = Stamp{st.st_dev, st.st_ino, st.st_size, qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
        } catch (const platform::FileError& e) {
            mReadFailure = e.reason();
            return false;
        }
    }
    mDisk = std::move(disk);
    mStamp = read;
    if (mOutage == Outage::Unreadable)
        mOutage = Outage::None;
    return true;
}

void IniSettingsStore::enter(Outage outage, const QString& reason)
{
    if (mOutage == outage)
        return;  // this outage has been told
    mOutage = outage;
    const QString path = QDir::toNativeSeparators(mPath);
    if (outage == Outage::Unreadable) {
        app::MsgBox(QStringLiteral("The meeting saved in the settings file\n%1\ncan't be read: %2\n\n"
                                   "The file is left as it is, and nothing is saved to it until it can be read "
                                   "again. What you type stays in the window meanwhile.")
                        .arg(path, reason),
                    app::vbExclamation);
    } else {
        app::MsgBox(QStringLiteral("Your changes can't be saved to the settings file\n%1\n(%2)\n\n"
                                   "What you type stays in the window and is saved as soon as the "
                                   "file can be written again.")
                        .arg(path, reason),
                    app::vbExclamation);
    }
}

std::optional<IniFile> IniSettingsStore::withPending() const
{
    IniFile next = mDisk;
    bool changed = false;
    for (const Change& c : mPending)
        changed = next.setValue(c.section, c.key, c.value) || changed;
    if (!changed)
        return std::nullopt;
    return next;
}

void IniSettingsStore::writePending()
{
    if (mPending.empty())
        return;
    // A save of what the file already holds writes nothing (the restore at
    // start-up assigns every field its stored value).
    if (!refresh()) {
        enter(Outage::Unreadable, mReadFailure);
        return;
    }
    if (!withPending()) {
        mPending.clear();
        return;
    }
    if (!QDir(mFolder).exists())
        QDir().mkpath(mFolder);
    platform::FileLock lock(mPath + QStringLiteral(".lock"));
    if (!lock.tryLock(kLockWaitMs)) {
        enter(Outage::Unwritable, lockFailure(errno, mFolder));
        return;
    }
    // Another instance may have written since we looked: take its values in.
    if (!refresh()) {
        enter(Outage::Unreadable, mReadFailure);
        return;
    }
    std::optional<IniFile> next = withPending();
    if (!next) {
        mPending.clear();
        return;
    }
    try {
        platform::replaceFile(mPath, next->serialize(), 0600);
    } catch (const platform::FileError& e) {
        enter(Outage::Unwritable, e.reason());
        return;
    }
    int error = 0;
    mDisk = std::move(*next);
    mStamp = stampOnDisk(&error);
    mPending.clear();
    mOutage = Outage::None;
}

QString IniSettingsStore::get(const QString& application, const QString& section, const QString& key,
                              const QString& fallback)
{
    open(application);
    for (auto it = mPending.rbegin(); it != mPending.rend(); ++it)
        if (sameName(it->section, section) && sameName(it->key, key))
            return it->value;
    return mDisk.value(section, key).value_or(fallback);
}

void IniSettingsStore::save(const QString& application, const QString& section, const QString& key,
                            const QString& value)
{
    open(application);
    auto same = std::find_if(mPending.begin(), mPending.end(),
                             [&](const Change& c) { return sameName(c.section, section) && sameName(c.key, key); });
    if (same != mPending.end())
        same->value = value;
    else
        mPending.push_back(Change{section, key, value});
    writePending();
}

QString settingsFolder()
{
    if (!gFolder.isEmpty())
        return gFolder;
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
}

QString setSettingsFolder(QString folder) { return std::exchange(gFolder, std::move(folder)); }

SettingsStore& settingsStore()
{
    if (gOverride)
        return *gOverride;
    const QString folder = settingsFolder();
    if (!gProduction || gProductionFolder != folder) {
        gProduction = std::make_unique<IniSettingsStore>(folder);
        gProductionFolder = folder;
    }
    return *gProduction;
}

void reopenSettingsStore() { gProduction.reset(); }

SettingsStore* setSettingsStore(SettingsStore* store) { return std::exchange(gOverride, store); }

QString GetSetting(const QString& application, const QString& section, const QString& key, const QString& fallback)
{
    return settingsStore().get(application, section, key, fallback);
}

void SaveSetting(const QString& application, const QString& section, const QString& key, const QString& value)
{
    settingsStore().save(application, section, key, value);
}

}  // namespace meeting
