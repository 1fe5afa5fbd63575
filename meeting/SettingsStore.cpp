#include "meeting/SettingsStore.h"

#include "app/Dialogs.h"
#include "app/Environment.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>

namespace meeting {

namespace {
QString gFolder;
SettingsStore* gOverride = nullptr;
std::unique_ptr<IniSettingsStore> gProduction;
QString gProductionFolder;
}  // namespace

IniSettingsStore::IniSettingsStore(const QString& folder) : mFolder(folder) {}
IniSettingsStore::~IniSettingsStore() = default;

QString IniSettingsStore::filePath(const QString& application) const
{
    return app::joinPath(mFolder, application + QStringLiteral(".ini"));
}

QSettings& IniSettingsStore::settingsFor(const QString& application)
{
    // One application is used at a time; keeping its QSettings open keeps the
    // parsed file in memory between keystrokes.
    if (!mSettings || mOpenApplication.compare(application, Qt::CaseInsensitive) != 0) {
        mSettings = std::make_unique<QSettings>(filePath(application), QSettings::IniFormat);
        mOpenApplication = application;
    }
    return *mSettings;
}

namespace {

// The stored spelling of a name, found without regard to case; the name as
// given when there is none yet. An entry keeps the case it was created with.
QString storedName(const QStringList& names, const QString& name)
{
    for (const QString& n : names)
        if (n.compare(name, Qt::CaseInsensitive) == 0)
            return n;
    return name;
}

QString storedSection(QSettings& s, const QString& section) { return storedName(s.childGroups(), section); }
QString storedKey(QSettings& s, const QString& key) { return storedName(s.childKeys(), key); }

}  // namespace

QString IniSettingsStore::get(const QString& application, const QString& section, const QString& key,
                              const QString& fallback)
{
    QSettings& s = settingsFor(application);
    s.beginGroup(storedSection(s, section));
    const QString stored = storedKey(s, key);
    const QVariant v = s.value(stored);
    s.endGroup();
    return v.isValid() ? v.toString() : fallback;
}

void IniSettingsStore::save(const QString& application, const QString& section, const QString& key,
                            const QString& value)
{
    QSettings& s = settingsFor(application);
    s.beginGroup(storedSection(s, section));
    s.setValue(storedKey(s, key), value);
    s.endGroup();
    s.sync();
    // A format error only means the old file held lines that were not INI
    // (they are replaced by what the store holds); only access failures lose writes.
    if (s.status() != QSettings::AccessError) {
        mFailing = false;
        return;
    }
    if (!mFailing) {
        mFailing = true;
        app::MsgBox(QStringLiteral("Your changes can't be saved to the settings file\n%1\n\n"
                                   "What you type stays in the window and is saved as soon as the "
                                   "file can be written again.")
                        .arg(QDir::toNativeSeparators(s.fileName())),
                    app::vbExclamation);
        return;
    }
    // QSettings keeps its first error for good, so whether the file can be
    // written again is asked of a fresh one holding everything this one holds.
    auto fresh = std::make_unique<QSettings>(s.fileName(), QSettings::IniFormat);
    const QStringList keys = s.allKeys();
    for (const QString& k : keys)
        fresh->setValue(k, s.value(k));
    fresh->sync();
    if (fresh->status() != QSettings::AccessError) {
        mSettings = std::move(fresh);
        mFailing = false;
    }
}

QString settingsFolder()
{
    if (!gFolder.isEmpty())
        return gFolder;
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
}

void setSettingsFolder(const QString& folder) { gFolder = folder; }

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

void setSettingsStore(SettingsStore* store) { gOverride = store; }

QString GetSetting(const QString& application, const QString& section, const QString& key,
                   const QString& fallback)
{
    return settingsStore().get(application, section, key, fallback);
}

void SaveSetting(const QString& application, const QString& section, const QString& key,
                 const QString& value)
{
    settingsStore().save(application, section, key, value);
}

}  // namespace meeting
