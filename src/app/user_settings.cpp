#include "app/user_settings.h"
#include "exchange/signal_monitor.h"

#include <QSettings>

namespace zarven {

UserSettings::UserSettings(bool persistent)
{
    if (persistent)
        settings_ = std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                                QStringLiteral("zarven4"), QStringLiteral("zarven4-config"));
}

UserSettings::~UserSettings() = default;

QVariant UserSettings::value(const QString &key) const
{
    return settings_ ? settings_->value(key) : memory_.value(key);
}

void UserSettings::setValue(const QString &key, const QVariant &v)
{
    if (settings_)
        settings_->setValue(key, v);
    else
        memory_.insert(key, v);
}

bool UserSettings::onUnlessCleared(const QString &key) const
{
    const QVariant v = value(key);
    return !v.isValid() || v.toBool();
}

QChar UserSettings::language() const
{
    return value(QStringLiteral("language")).toString() == QLatin1String("E") ? QLatin1Char('E')
                                                                               : QLatin1Char('R');
}

void UserSettings::setLanguage(QChar code)
{
    setValue(QStringLiteral("language"), QString(code));
}

QString UserSettings::lastFolder(const QString &kind) const
{
    return value(QStringLiteral("lastFolder/") + kind).toString();
}

void UserSettings::setLastFolder(const QString &kind, const QString &folder)
{
    setValue(QStringLiteral("lastFolder/") + kind, folder);
}

QStringList UserSettings::recentFiles() const
{
    return value(QStringLiteral("recentFiles")).toStringList().mid(0, kRecentFiles);
}

void UserSettings::addRecentFile(const QString &path)
{
    QStringList files = recentFiles();
    files.removeAll(path);
    files.prepend(path);
    setValue(QStringLiteral("recentFiles"), files.mid(0, kRecentFiles));
}

void UserSettings::removeRecentFile(const QString &path)
{
    QStringList files = recentFiles();
    files.removeAll(path);
    setValue(QStringLiteral("recentFiles"), files);
}

bool UserSettings::verifyAfterWrite() const
{
    return onUnlessCleared(QStringLiteral("verifyAfterWrite"));
}

void UserSettings::setVerifyAfterWrite(bool on)
{
    setValue(QStringLiteral("verifyAfterWrite"), on);
}

bool UserSettings::autoConnect() const
{
    return onUnlessCleared(QStringLiteral("autoConnect"));
}

void UserSettings::setAutoConnect(bool on)
{
    setValue(QStringLiteral("autoConnect"), on);
}

int UserSettings::monitorInterval() const
{
    bool ok = false;
    const int seconds = value(QStringLiteral("monitorInterval")).toInt(&ok);
    if (!ok || seconds < SignalMonitor::kMinInterval || seconds > SignalMonitor::kMaxInterval)
        return SignalMonitor::kDefaultInterval;
    return seconds;
}

void UserSettings::setMonitorInterval(int seconds)
{
    setValue(QStringLiteral("monitorInterval"), seconds);
}

bool UserSettings::previewBeforeWrite() const
{
    return onUnlessCleared(QStringLiteral("previewBeforeWrite"));
}

void UserSettings::setPreviewBeforeWrite(bool on)
{
    setValue(QStringLiteral("previewBeforeWrite"), on);
}

} // namespace zarven
