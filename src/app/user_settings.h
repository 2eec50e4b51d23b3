#pragma once
// What the window remembers between runs for the user: the language, the
// last folder of each kind of file and the recently used configuration
// files. A window run by the user keeps them in the user's QSettings; batch
// runs and tests keep them in memory only, so that a script's output never
// depends on what someone last clicked in the window.

#include <QChar>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <memory>

class QSettings;

namespace zarven {

class UserSettings {
public:
    // persistent: kept in the user's settings; otherwise in memory.
    explicit UserSettings(bool persistent);
    ~UserSettings();

    // "R" or "E"; "R" when nothing valid was kept.
    QChar language() const;
    void setLanguage(QChar code);

    // The folder a file dialog of that kind ("cfg", "key") last used; empty
    // when none was.
    QString lastFolder(const QString &kind) const;
    void setLastFolder(const QString &kind, const QString &folder);

    // The recently used configuration files, newest first, at most
    // kRecentFiles.
    static constexpr int kRecentFiles = 5;
    QStringList recentFiles() const;
    // Puts a file first (once), dropping the oldest beyond kRecentFiles.
    void addRecentFile(const QString &path);
    void removeRecentFile(const QString &path);

    // Whether a write the controller acknowledged is read back and compared;
    // on when nothing was kept.
    bool verifyAfterWrite() const;
    void setVerifyAfterWrite(bool on);
    // Whether a write from the window first shows what it will change on
    // the controller; on when nothing was kept.
    bool previewBeforeWrite() const;
    void setPreviewBeforeWrite(bool on);

    // Whether a plugged adapter is scanned by itself; on when nothing was
    // kept.
    bool autoConnect() const;
    void setAutoConnect(bool on);

    // The signal monitor's interval in seconds, 1 to 10; 2 when nothing
    // valid was kept.
    int monitorInterval() const;
    void setMonitorInterval(int seconds);

private:
    QVariant value(const QString &key) const;
    // A choice that is on until the user clears it.
    bool onUnlessCleared(const QString &key) const;
    void setValue(const QString &key, const QVariant &value);

    std::unique_ptr<QSettings> settings_;
    QHash<QString, QVariant> memory_;
};

} // namespace zarven
