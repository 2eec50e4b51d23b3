// The "Файл" menu around the configuration files: the load and save with
// their dialogs, the recent files, the window title with the file and its
// unsaved-edits mark, and the status bar's word on what was saved or loaded.

#include "app/main_window.h"
#include "config_file/config_files.h"
#include "config_file/file_dialogs.h"
#include "core/cp1251.h"
#include "editor/phone_panel.h"
#include "editor/settings_panels.h"
#include "translate/message_translation.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QVBoxLayout>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTime>

namespace zarven {

void MainWindow::wireConfigFiles()
{
    FileKind kind;
    kind.filter = QStringLiteral("Конфигурации ЗАРВЕН-4 (*.cfg)");
    kind.extension = QStringLiteral("cfg");
    kind.translate = [this](const QString &text) { return inLanguage(text); };
    kind.lastFolder = [this] { return prefs.lastFolder(QStringLiteral("cfg")); };
    kind.rememberFolder = [this](const QString &folder) { prefs.setLastFolder(QStringLiteral("cfg"), folder); };
    configFiles = std::make_unique<ConfigFiles>(ControlAccess(*panels), shared, eventLog, boxes,
                                                std::make_unique<QtFileDialogs>(this, kind));
    connect(loadFileAction, &QAction::triggered, this, [this] { guarded([this] { loadFromMenu(); }); });
    connect(saveFileAction, &QAction::triggered, this, [this] { guarded([this] { saveFromMenu(); }); });
    rebuildRecentMenu();
}

void MainWindow::loadFromMenu()
{
    if (!settleUnsavedEdits())
        return;
    const QString path = configFiles->loadChosenFile();
    if (!path.isEmpty())
        fileDone(path, false);
}

void MainWindow::saveFromMenu()
{
    const QString path = configFiles->saveChosenFile();
    if (!path.isEmpty())
        fileDone(path, true);
}

void MainWindow::openRecentFile(const QString &path)
{
    if (!QFileInfo::exists(path)) {
        prefs.removeRecentFile(path);
        rebuildRecentMenu();
        boxes.plain(QStringLiteral("Файл %1 не найден и убран из списка последних файлов")
                        .arg(QDir::toNativeSeparators(path)));
        return;
    }
    if (!settleUnsavedEdits())
        return;
    if (configFiles->loadFrom(path))
        fileDone(path, false);
}

bool MainWindow::settleUnsavedEdits()
{
    if (!unsavedEdits_)
        return true;
    switch (boxes.askToSave(QStringLiteral("Настройки изменены и не сохранены в файл. Сохранить их?"))) {
    case MessageBoxes::SaveChoice::Discard: return true;
    case MessageBoxes::SaveChoice::Cancel: return false;
    case MessageBoxes::SaveChoice::Save: break;
    }
    saveFromMenu();
    return !unsavedEdits_;
}

void MainWindow::fileDone(const QString &path, bool saved)
{
    const QString shown = QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
    currentFile_ = shown;
    readFrom_.clear();
    prefs.addRecentFile(shown);
    rebuildRecentMenu();
    showTranslated(statusFile,
                   (saved ? QStringLiteral("Конфигурация сохранена в %1") : QStringLiteral("Конфигурация загружена из %1"))
                       .arg(shown),
                   [this](const QString &t) { return inLanguage(t); });
    statusFile->setToolTip(shown);
    showReportLink(saved ? 0 : configFiles->lastReportEntries().size());
    setUnsavedEdits(false);
}

void MainWindow::showReportLink(qsizetype entries)
{
    statusReport->setVisible(entries > 0);
    if (entries == 0)
        return;
    const QString text = inLanguage(QStringLiteral("Отчёт загрузки: замечаний %1").arg(entries));
    statusReport->setText(QStringLiteral("<a href=\"report\">%1</a>").arg(text.toHtmlEscaped()));
    statusReport->setToolTip(QDir::toNativeSeparators(configFiles->reportPath()));
}

void MainWindow::showLoadReport()
{
    // Shown here rather than handed to another program: the report is code
    // page 1251, which an editor of the desktop would mostly not guess.
    QFile file(configFiles->reportPath());
    if (!file.open(QIODevice::ReadOnly)) {
        boxes.plain(QStringLiteral("Ошибка чтения файла") + QStringLiteral("\r\n")
                    + QDir::toNativeSeparators(configFiles->reportPath()));
        return;
    }
    if (!loadReportWindow) {
        loadReportWindow = new QDialog(this);
        loadReportWindow->setObjectName(QStringLiteral("loadReportWindow"));
        loadReportWindow->resize(640, 400);
        auto *view = new QPlainTextEdit(loadReportWindow);
        view->setObjectName(QStringLiteral("loadReportText"));
        view->setReadOnly(true);
        view->setLineWrapMode(QPlainTextEdit::NoWrap);
        auto *layout = new QVBoxLayout(loadReportWindow);
        layout->addWidget(view);
    }
    loadReportWindow->setWindowTitle(inLanguage(QStringLiteral("Отчёт загрузки")) + QStringLiteral(" - ")
                                     + QDir::toNativeSeparators(configFiles->reportPath()));
    auto *view = loadReportWindow->findChild<QPlainTextEdit *>(QStringLiteral("loadReportText"));
    view->setPlainText(fromCp1251(file.readAll()));
    // The last load's lines are at the end.
    view->moveCursor(QTextCursor::End);
    loadReportWindow->show();
    loadReportWindow->raise();
}

void MainWindow::settingsWereRead(const QString &controllerPort)
{
    readFrom_ = controllerPort;
    readAt_ = QTime::currentTime();
    updateTitle();
}

void MainWindow::setUnsavedEdits(bool unsaved)
{
    unsavedEdits_ = unsaved;
    updateTitle();
}

void MainWindow::updateTitle()
{
    if (caption_.isEmpty())
        caption_ = windowTitle();
    QString title = caption_;
    // What the window shows: the controller read last, or else the file
    // loaded or saved last.
    if (!readFrom_.isEmpty())
        title = inLanguage(QStringLiteral("прибор %1, прочитан %2").arg(readFrom_, readAt_.toString(QStringLiteral("HH:mm"))))
            + QStringLiteral(" - ") + caption_;
    else if (!currentFile_.isEmpty())
        title = QFileInfo(currentFile_).fileName() + QStringLiteral(" - ") + caption_;
    // The mark is part of the title text itself (no "[*]" placeholder), so
    // the caption read back for translation never carries it.
    if (unsavedEdits_)
        title.prepend(QLatin1Char('*'));
    setWindowTitle(title);
}

void MainWindow::rebuildRecentMenu()
{
    menuRecent->clear();
    const QStringList files = prefs.recentFiles();
    for (qsizetype i = 0; i < files.size(); ++i) {
        // "&1 name" gives each entry its number as accelerator.
        QString shown = files[i];
        shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
        auto *action = menuRecent->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(shown));
        action->setObjectName(QStringLiteral("recentFile%1").arg(i + 1));
        action->setData(files[i]);
        connect(action, &QAction::triggered, this,
                [this, path = files[i]] { guarded([this, path] { openRecentFile(path); }); });
    }
    menuRecent->setEnabled(!files.isEmpty());
}

void MainWindow::watchEdits()
{
    // Any change of a settings control marks the window as holding unsaved
    // edits, except the clock's own writes to the date and time boxes
    // (typing into them still counts).
    const auto mark = [this] {
        if (!unsavedEdits_)
            setUnsavedEdits(true);
    };
    QWidget *dateBox = panels->phonePanel()->dateEdit;
    QWidget *timeBox = panels->phonePanel()->timeEdit;
    for (const QString &name : panels->controlNames()) {
        QWidget *control = panels->control(name);
        if (!control)
            continue;
        QList<QLineEdit *> edits = control->findChildren<QLineEdit *>();
        if (auto *edit = qobject_cast<QLineEdit *>(control))
            edits << edit;
        for (QLineEdit *edit : edits) {
            if (edit == dateBox || edit == timeBox)
                connect(edit, &QLineEdit::textEdited, this, mark);
            else
                connect(edit, &QLineEdit::textChanged, this, mark);
        }
        QList<QAbstractButton *> buttons = control->findChildren<QAbstractButton *>();
        if (auto *button = qobject_cast<QAbstractButton *>(control))
            buttons << button;
        for (QAbstractButton *button : buttons)
            if (button->isCheckable())
                connect(button, &QAbstractButton::toggled, this, mark);
        if (auto *list = qobject_cast<QComboBox *>(control))
            connect(list, &QComboBox::currentIndexChanged, this, mark);
    }
}

} // namespace zarven
