#include "meeting/SettingsStore.h"

#include "app/Clock.h"
#include "app/Dialogs.h"
#include "app/Environment.h"
#include "app/Files.h"
#include "app/Termination.h"
#include "meeting/DateText.h"
#include "platform/SafeFile.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>

#include <array>
#include <cerrno>
#include <cstdio>
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
// Another instance holds the lock only while it writes one small file; a
// keystroke waits no longer than this for it, and what it could not write is
// tried again by the timer.
constexpr int kLockWaitMs = 50;
// Closing is the last chance to write: it may wait a little longer.
constexpr int kFinalLockWaitMs = 1000;
constexpr int kRetryMs = 1000;

TroubleListener gTroubleListener;

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

IniSettingsStore::IniSettingsStore(const QString& folder) : mFolder(folder)
{
    mRetry.setInterval(kRetryMs);
    QObject::connect(&mRetry, &QTimer::timeout, [this] { attempt(kLockWaitMs); });
}

IniSettingsStore::~IniSettingsStore()
{
    // A store that goes while in trouble leaves the notice behind otherwise.
    if (mTrouble.kind != StoreTrouble::Kind::None && gTroubleListener)
        gTroubleListener(StoreTrouble{});
}

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
    removeLeftovers();
    if (!refresh())
        setTrouble({StoreTrouble::Kind::Unreadable, QDir::toNativeSeparators(mPath), mReadFailure});
    mRead = true;
    takeInRecovered();
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
    if (mRead && mTrouble.kind != StoreTrouble::Kind::Unreadable && now == mStamp && (now || error == ENOENT))
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
    return true;
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

StoreTrouble IniSettingsStore::writePending(int lockWaitMs)
{
    const QString shown = QDir::toNativeSeparators(mPath);
    // A save of what the file already holds writes nothing (the restore at
    // start-up assigns every field its stored value).
    if (!refresh())
        return {StoreTrouble::Kind::Unreadable, shown, mReadFailure};
    if (!withPending()) {
        mPending.clear();
        return {};
    }
    if (!QDir(mFolder).exists())
        QDir().mkpath(mFolder);
    platform::FileLock lock(mPath + QStringLiteral(".lock"));
    if (!lock.tryLock(lockWaitMs))
        return {StoreTrouble::Kind::Unwritable, shown, lockFailure(errno, mFolder)};
    // Another instance may have written since we looked: take its values in.
    if (!refresh())
        return {StoreTrouble::Kind::Unreadable, shown, mReadFailure};
    std::optional<IniFile> next = withPending();
    if (!next) {
        mPending.clear();
        return {};
    }
    try {
        platform::replaceFile(mPath, next->serialize(), 0600);
    } catch (const platform::FileError& e) {
        return {StoreTrouble::Kind::Unwritable, shown, e.reason()};
    }
    int error = 0;
    mDisk = std::move(*next);
    mStamp = stampOnDisk(&error);
    mPending.clear();
    return {};
}

void IniSettingsStore::attempt(int lockWaitMs)
{
    if (mHeld == 0)
        setTrouble(writePending(lockWaitMs));
}

void IniSettingsStore::releaseWrites()
{
    if (mHeld > 0 && --mHeld == 0 && !mPending.empty())
        attempt(kLockWaitMs);
}

void IniSettingsStore::setTrouble(const StoreTrouble& trouble)
{
    // While it lasts the timer tries again: a lock let go, a disk with room,
    // a file readable again all end it without the user doing anything.
    if (trouble.kind == StoreTrouble::Kind::None)
        mRetry.stop();
    else if (!mRetry.isActive())
        mRetry.start();
    if (trouble == mTrouble)
        return;
    mTrouble = trouble;
    if (gTroubleListener)
        gTroubleListener(mTrouble);
}

bool IniSettingsStore::flush()
{
    if (!mRead)
        return true;
    attempt(kFinalLockWaitMs);
    return mPending.empty();
}

QString IniSettingsStore::recoveryFilePath(const QString& storePath)
{
    const QByteArray hash =
        QCryptographicHash::hash(QFile::encodeName(QFileInfo(storePath).absoluteFilePath()), QCryptographicHash::Sha256)
            .toHex()
            .left(12);
    return app::joinPath(
        app::environment::privateTempFolder(),
        QStringLiteral("recovered-%1-%2.ini").arg(QFileInfo(storePath).completeBaseName(), QString::fromLatin1(hash)));
}

namespace {

// The recovery file: the store it belongs to, when the program was stopped,
// and the values in the order they were typed.
struct Recovered {
    QString store;
    QDateTime stopped;
    std::vector<std::array<QString, 3>> values;  // section, key, value
};

// What a recovery file holds; none when there is none (or it is not ours).
std::optional<Recovered> readRecovery(const QString& path)
{
    QByteArray bytes;
    try {
        platform::FileDescriptor file(platform::openRegularForReading(path, platform::Links::NoLinks));
        struct stat st {};
        if (::fstat(file.get(), &st) != 0 || st.st_uid != ::geteuid())
            return std::nullopt;
        bytes = platform::readAll(file.get(), kMaxStoreBytes, path);
    } catch (const std::exception&) {
        return std::nullopt;
    }
    const QJsonObject root = QJsonDocument::fromJson(bytes).object();
    Recovered r{root.value(QLatin1String("store")).toString(),
                QDateTime::fromString(root.value(QLatin1String("stopped")).toString(), Qt::ISODate),
                {}};
    for (const QJsonValue v : root.value(QLatin1String("values")).toArray()) {
        const QJsonArray triple = v.toArray();
        if (triple.size() == 3)
            r.values.push_back({triple[0].toString(), triple[1].toString(), triple[2].toString()});
    }
    return r;
}

}  // namespace

bool IniSettingsStore::keepForRecovery()
{
    if (mPending.empty())
        return true;
    QString path;
    try {
        path = recoveryFilePath(mPath);
        // Kept from an earlier stop and not yet offered back: added to, not lost.
        QJsonArray values;
        if (const std::optional<Recovered> earlier = readRecovery(path); earlier && earlier->store == mPath)
            for (const auto& [section, key, value] : earlier->values)
                values.append(QJsonArray{section, key, value});
        for (const Change& c : mPending)
            values.append(QJsonArray{c.section, c.key, c.value});
        const QJsonObject root{{QLatin1String("store"), mPath},
                               {QLatin1String("stopped"), app::clock::now().toString(Qt::ISODate)},
                               {QLatin1String("values"), values}};
        platform::replaceFile(path, QJsonDocument(root).toJson(), 0600);
        mPending.clear();
        return true;
    } catch (const std::exception& e) {
        // The last place left to say it: the session's log.
        QString lost;
        for (const Change& c : mPending)
            lost += QStringLiteral("  [%1] %2=%3\n").arg(c.section, c.key, c.value);
        std::fprintf(stderr, "corvalin: your last changes could not be saved to %s (%s), nor kept in %s (%s):\n%s",
                     qUtf8Printable(QDir::toNativeSeparators(mPath)), qUtf8Printable(mTrouble.reason),
                     qUtf8Printable(path), e.what(), qUtf8Printable(lost));
        return false;
    }
}

void IniSettingsStore::takeInRecovered()
{
    QString path;
    try {
        path = recoveryFilePath(mPath);
    } catch (const std::exception&) {
        return;  // no private folder: nothing can have been kept there
    }
    const std::optional<Recovered> kept = readRecovery(path);
    if (!kept || kept->store != mPath)
        return;  // another store's, or none
    const QDateTime stopped = kept->stopped;
    const QString when = stopped.isValid() ? QStringLiteral(" on %1").arg(
                             regionalLocale().toString(stopped.toLocalTime(), QStringLiteral("dd-MMM-yyyy 'at' hh:mm")))
                                           : QString();
    const int answer =
        app::MsgBox(QStringLiteral("The program was stopped%1 before your last changes could be saved to the "
                                   "settings file\n%2\nThey were kept in\n%3\n\nPut them back into the form? "
                                   "(No discards them.)")
                        .arg(when, QDir::toNativeSeparators(mPath), QDir::toNativeSeparators(path)),
                    app::vbYesNo | app::vbQuestion);
    if (app::stopRequested())
        return;  // a No nobody gave: offered again at the next start
    if (answer == app::vbYes)
        for (const auto& [section, key, value] : kept->values)
            mPending.push_back(Change{section, key, value});
    // From here they are this instance's to write (or to keep again at a stop).
    ::unlink(QFile::encodeName(path).constData());
    if (!mPending.empty())
        attempt(kLockWaitMs);
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
    attempt(kLockWaitMs);
}

TroubleListener setTroubleListener(TroubleListener listener)
{
    return std::exchange(gTroubleListener, std::move(listener));
}

QString troubleNotice(const StoreTrouble& trouble)
{
    switch (trouble.kind) {
    case StoreTrouble::Kind::None: return QString();
    case StoreTrouble::Kind::Unreadable:
        return QStringLiteral("The meeting saved in %1 can't be read (%2). The file is left as it is; what you type "
                              "is kept and saved once the file can be read again.")
            .arg(trouble.file, trouble.reason);
    case StoreTrouble::Kind::Unwritable:
        return QStringLiteral("Your changes can't be saved to %1 (%2). What you type is kept and saved as soon as the "
                              "file can be written again.")
            .arg(trouble.file, trouble.reason);
    }
    return QString();
}

bool mayEndProgram()
{
    SettingsStore& store = settingsStore();
    if (store.flush())
        return true;
    if (app::stopRequested()) {
        // Nobody may be there to answer; the next start offers them back.
        store.keepForRecovery();
        return true;
    }
    const StoreTrouble trouble = store.trouble();
    return app::MsgBox(QStringLiteral("Your last changes can't be saved to %1 (%2). Close anyway and lose them?")
                           .arg(trouble.file, trouble.reason),
                       app::vbYesNo | app::vbExclamation | app::vbDefaultButton2)
           == app::vbYes;
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
