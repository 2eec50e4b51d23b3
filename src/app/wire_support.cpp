// Wires the help menu's "Проверка системы" (the system check's report in a
// window of its own, where the commands can be copied) and "Сохранить отчёт
// для поддержки" (the support bundle, to a zip file the user chooses).

#include "app/main_window.h"
#include "config_file/file_dialogs.h"
#include "system/doctor.h"
#include "system/support_bundle.h"
#include "translate/translation.h"

#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFontDatabase>
#include <QMenu>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace zarven {

QString MainWindow::systemCheckText(bool *allWell) const
{
    const DoctorReport report = runDoctor(*makeMachineProbe(), options.extraPorts,
                                          [this](const QString &t) { return inLanguage(t); });
    if (allWell)
        *allWell = report.allWell();
    return report.text();
}

void MainWindow::writeSupportBundle(const QString &path) const
{
    SupportBundleInput in;
    in.programDir = shared.ProgramDir;
    in.log = eventLog.fileContent();
    in.trace = port->trace().text();
    in.doctorReport = systemCheckText();
    in.ports = ListSerialPorts(options.extraPorts, options.includeSystemPorts);
    writeZip(path, supportBundleFiles(in));
}

void MainWindow::wireSupport()
{
    systemCheckAction = new QAction(QStringLiteral("Проверка системы"), menuAbout);
    systemCheckAction->setObjectName(QStringLiteral("menu_doctor"));
    supportBundleAction = new QAction(QStringLiteral("Сохранить отчёт для поддержки"), menuAbout);
    supportBundleAction->setObjectName(QStringLiteral("menu_support"));
    menuAbout->insertAction(manufacturerAction, systemCheckAction);
    menuAbout->insertAction(manufacturerAction, supportBundleAction);

    connect(systemCheckAction, &QAction::triggered, this, [this] {
        guarded([this] {
            auto *dialog = new QDialog(this);
            dialog->setObjectName(QStringLiteral("systemCheckDialog"));
            dialog->setAttribute(Qt::WA_DeleteOnClose);
            dialog->setWindowTitle(systemCheckAction->text().remove(QLatin1Char('&')));
            auto *text = new QPlainTextEdit(systemCheckText(), dialog);
            text->setObjectName(QStringLiteral("systemCheckText"));
            text->setReadOnly(true);
            text->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
            text->setLineWrapMode(QPlainTextEdit::NoWrap);
            auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, dialog);
            connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
            auto *layout = new QVBoxLayout(dialog);
            layout->addWidget(text);
            layout->addWidget(buttons);
            dialog->resize(820, 360);
            dialog->open();
        });
    });
    connect(supportBundleAction, &QAction::triggered, this, [this] {
        guarded([this] {
            FileKind kind;
            kind.filter = QStringLiteral("Отчёт для поддержки (*.zip)");
            kind.extension = QStringLiteral("zip");
            kind.translate = [this](const QString &t) { return inLanguage(t); };
            kind.lastFolder = [this] { return prefs.lastFolder(QStringLiteral("zip")); };
            kind.rememberFolder = [this](const QString &f) { prefs.setLastFolder(QStringLiteral("zip"), f); };
            const QString path = QtFileDialogs(this, kind).saveFileName();
            if (path.isEmpty())
                return;
            writeSupportBundle(path);
            boxes.plain(QStringLiteral("Отчёт для поддержки сохранён: %1").arg(path));
        });
    });
}

} // namespace zarven
