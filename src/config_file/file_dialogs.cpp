#include "config_file/file_dialogs.h"

#include <QFileDialog>
#include <QFileInfo>

namespace zarven {

QString withDefaultExtension(const QString &path, const QString &extension)
{
    if (path.isEmpty() || extension.isEmpty())
        return path;
    const QFileInfo info(path);
    if (!info.suffix().isEmpty() || info.fileName().isEmpty())
        return path;
    // "name." ends with its own dot already.
    return path.endsWith(QLatin1Char('.')) ? path + extension : path + QLatin1Char('.') + extension;
}

QString QtFileDialogs::run(QFileDialog &dialog)
{
    const auto tr = [this](const QString &t) { return kind_.translate ? kind_.translate(t) : t; };
    dialog.setNameFilters({tr(kind_.filter), tr(QStringLiteral("Все файлы (*)"))});
    const QString folder = kind_.lastFolder ? kind_.lastFolder() : QString();
    if (!folder.isEmpty() && QFileInfo(folder).isDir())
        dialog.setDirectory(folder);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    const QString chosen = dialog.selectedFiles().constFirst();
    if (kind_.rememberFolder)
        kind_.rememberFolder(QFileInfo(chosen).absolutePath());
    return chosen;
}

QString QtFileDialogs::saveFileName()
{
    QFileDialog dialog(parent_);
    dialog.setObjectName(QStringLiteral("SaveDialog1"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    // The existing-file question is asked after the extension is added, by
    // the save itself, so Qt's own suffix handling is not used.
    return withDefaultExtension(run(dialog), kind_.extension);
}

QString QtFileDialogs::openFileName()
{
    QFileDialog dialog(parent_);
    dialog.setObjectName(QStringLiteral("OpenDialog1"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    return run(dialog);
}

} // namespace zarven
