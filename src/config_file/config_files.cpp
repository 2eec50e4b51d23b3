#include "config_file/config_files.h"

#include "config_file/config_loader.h"
#include "config_file/config_writer.h"
#include "config_file/file_dialogs.h"
#include "config_file/session_stamp.h"
#include "core/event_log.h"
#include "core/message_boxes.h"
#include "core/shared_values.h"
#include "translate/translation.h"

#include <QFile>
#include <QFileInfo>

namespace zarven {

ConfigFiles::ConfigFiles(ControlAccess controls, SharedValues &shared, EventLog &log, MessageBoxes &boxes,
                         std::unique_ptr<FileDialogs> dialogs)
    : controls_(std::move(controls)), shared_(shared), log_(log), boxes_(boxes), dialogs_(std::move(dialogs))
{
}

ConfigFiles::~ConfigFiles() = default;

void ConfigFiles::setFileDialogs(std::unique_ptr<FileDialogs> dialogs)
{
    dialogs_ = std::move(dialogs);
}

QString ConfigFiles::backupPath() const
{
    return shared_.programFile(QStringLiteral("save.000"));
}

QString ConfigFiles::reportPath() const
{
    return shared_.programFile(QStringLiteral("LoadFile.rep"));
}

QString ConfigFiles::translated(const QString &russian) const
{
    return messageInCurrentLanguage(shared_, boxes_, russian);
}

template <typename Ask>
QString ConfigFiles::chooseFile(Ask ask)
{
    if (shared_.UseBackupFile) {
        shared_.UseBackupFile = false;
        return backupPath();
    }
    return dialogs_ ? ask(*dialogs_) : QString();
}

QString ConfigFiles::saveChosenFile()
{
    const QString path = chooseFile([](FileDialogs &d) { return d.saveFileName(); });
    return saveTo(path) ? path : QString();
}

QString ConfigFiles::loadChosenFile()
{
    const QString path = chooseFile([](FileDialogs &d) { return d.openFileName(); });
    return loadFrom(path) ? path : QString();
}

bool ConfigFiles::saveTo(const QString &path)
{
    if (path.isEmpty()) {
        boxes_.plain(translated(QStringLiteral("Не задано имя файла")));
        return false;
    }
    // The backup file is replaced without a question; the same path in
    // another letter case is another name and is asked about.
    if (QFileInfo::exists(path) && path != backupPath()
        && !boxes_.question(QStringLiteral("Файл с таким именем существует.  Заменить?")))
        return false;
    writeFile(path);
    if (path != backupPath())
        lastFile_ = path;
    return true;
}

void ConfigFiles::writeFile(const QString &path)
{
    // The file is written beside the target first and replaces it only when
    // everything was written, so a failing save keeps the earlier file.
    writeFileAtomically(path, encodeConfiguration(controls_, sessionStamp()));
}

bool ConfigFiles::loadFrom(const QString &path)
{
    if (path.isEmpty() || !QFileInfo::exists(path)) {
        boxes_.plain(translated(QStringLiteral("Файл не найден")));
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        boxes_.plain(translated(QStringLiteral("Ошибка чтения файла")));
        return false;
    }
    const QByteArray content = file.readAll();
    const bool readFailed = file.error() != QFileDevice::NoError;
    file.close();
    if (readFailed) {
        boxes_.plain(translated(QStringLiteral("Ошибка чтения файла")));
        return false;
    }
    if (!loadContent(content, path))
        return false;
    if (path != backupPath())
        lastFile_ = path;
    return true;
}

bool ConfigFiles::loadContent(const QByteArray &content, const QString &label)
{
    if (!holdsCompleteRecord(content)) {
        boxes_.plain(QStringLiteral("Файл не является файлом конфигурации ЗАРВЕН-4: %1").arg(label));
        return false;
    }
    const qsizetype logged = log_.lines().size();
    loadConfiguration(content, controls_, log_);
    runRulesAfterLoad(controls_);
    reportEntries_ = log_.textLines().mid(logged);

    const SessionStamp stamp = sessionStamp();
    log_.add(QStringLiteral("Время сеанса: ") + stamp.date + QLatin1Char('_') + stamp.time);
    log_.writeTo(reportPath());
    return true;
}

} // namespace zarven
