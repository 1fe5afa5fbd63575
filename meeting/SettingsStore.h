#pragma once

#include <QString>
#include <memory>

class QSettings;

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
    virtual void save(const QString& application, const QString& section, const QString& key,
                      const QString& value) = 0;
};

// The production store: one INI file per application in the settings folder,
// written through QSettings. Every save reaches the file before it returns,
// by replacing the file whole (never a half-written store). When the file
// can't be written, the user is told once; the values stay in memory and reach
// the file with the next save that succeeds.
class IniSettingsStore : public SettingsStore {
public:
    explicit IniSettingsStore(const QString& folder);
    ~IniSettingsStore() override;

    QString get(const QString& application, const QString& section, const QString& key,
                const QString& fallback) override;
    void save(const QString& application, const QString& section, const QString& key,
              const QString& value) override;

    QString filePath(const QString& application) const;

private:
    QSettings& settingsFor(const QString& application);

    QString mFolder;
    QString mOpenApplication;
    std::unique_ptr<QSettings> mSettings;
    bool mFailing = false;
};

// Where the production store keeps its files: the user's configuration folder
// unless a test points it elsewhere.
QString settingsFolder();
void setSettingsFolder(const QString& folder);  // empty restores the user's folder

// Drops the production store's memory, so the next access reads the file anew
// (as a restart of the program would).
void reopenSettingsStore();

// The store in force; tests may stand another in (not owned; nullptr restores).
SettingsStore& settingsStore();
void setSettingsStore(SettingsStore* store);

QString GetSetting(const QString& application, const QString& section, const QString& key,
                   const QString& fallback = QString());
void SaveSetting(const QString& application, const QString& section, const QString& key,
                 const QString& value);

}  // namespace meeting
