#pragma once
// Saving the window's settings to a configuration file and loading them
// back: the "Файл" menu's two operations, their backup mode and the load
// report.
//
// With UseBackupFile set, the next save or load works on save.000 in the
// program's folder without a dialog, and clears the flag. Every load that
// gets through adds a "Время сеанса: " line to the log and writes the whole
// log to LoadFile.rep.

#include "settings/control_access.h"

#include <QString>
#include <QStringList>
#include <memory>

namespace zarven {

class EventLog;
class FileDialogs;
class MessageBoxes;
struct SharedValues;

class ConfigFiles {
public:
    ConfigFiles(ControlAccess controls, SharedValues &shared, EventLog &log, MessageBoxes &boxes,
                std::unique_ptr<FileDialogs> dialogs);
    ~ConfigFiles();

    // "Сохранить конфигурацию в файл": saves to the backup file in backup
    // mode, else to the file the dialog names. A file that cannot be written
    // throws FileError and leaves an earlier file of that name as it was.
    // Returns the file written, or an empty text when nothing was.
    QString saveChosenFile();
    // "Загрузить конфигурацию из файла": loads the backup file in backup
    // mode, else the file the dialog names. A conversion error in the file
    // throws ConversionError: the controls keep what was set before it, no
    // rules are run afterwards and no report is written. Returns the file
    // loaded, or an empty text when nothing was.
    QString loadChosenFile();

    // The save and the load of a named file, after the choice of the file;
    // true when the file was written, or loaded and reported. A message box
    // has told the user why not otherwise. A file without a single record
    // header is no configuration file: it is refused and the window is left
    // untouched.
    bool saveTo(const QString &path);
    bool loadFrom(const QString &path);
    // The load of a configuration file's content that came from elsewhere
    // (a journal entry); label names it in messages.
    bool loadContent(const QByteArray &content, const QString &label);
    // Writes the window to path without any question.
    void writeFile(const QString &path);

    // The configuration file loaded or saved last (the backup file aside);
    // empty before either.
    QString lastFile() const { return lastFile_; }

    // The report lines the last load that got through added (invalid
    // values it passed over or applied its way); empty for a clean load.
    const QStringList &lastReportEntries() const { return reportEntries_; }

    QString backupPath() const;
    QString reportPath() const;

    void setFileDialogs(std::unique_ptr<FileDialogs> dialogs);
    // The configuration files' dialogs (null in a batch run).
    FileDialogs *fileDialogs() const { return dialogs_.get(); }
    ControlAccess &controls() { return controls_; }

private:
    // The backup file when UseBackupFile is set (clearing it), else the
    // dialog's answer.
    template <typename Ask>
    QString chooseFile(Ask ask);
    // The text of a message passed through the translation dictionary.
    QString translated(const QString &russian) const;

    ControlAccess controls_;
    SharedValues &shared_;
    EventLog &log_;
    MessageBoxes &boxes_;
    std::unique_ptr<FileDialogs> dialogs_;
    QString lastFile_;
    QStringList reportEntries_;
};

} // namespace zarven
