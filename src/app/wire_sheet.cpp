// Wires the configuration sheet into the "Файл" menu: "Печать…" prints it
// through the print dialog, "Сохранить PDF…" writes it to a PDF file the
// user names. Both show what a write of the window would store, with the
// keys of the key grid and the connected controller, in the window's
// language.

#include "app/main_window.h"
#include "config_file/file_dialogs.h"
#include "editor/settings_panels.h"
#include "exchange/device_exchange.h"
#include "keys/key_panel.h"
#include "settings/control_access.h"
#include "sheet/config_sheet.h"
#include "sheet/sheet_printer.h"

#include <QAction>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QPrinter>

namespace zarven {

ConfigSheet MainWindow::configSheet(const QString &file) const
{
    SheetFacts facts;
    const QString shown = file.isEmpty() ? currentFile_ : file;
    facts.file = shown.isEmpty() ? QString() : QFileInfo(shown).fileName();
    facts.date = QDate::currentDate();
    if (!shared.ConnectedPort.isEmpty()) {
        facts.controllerVersion = exchange->scan.connectedVersion();
        facts.port = shared.ConnectedPort;
    }
    facts.keys = keyPanel->rows();
    return buildConfigSheet(encodedFields(ControlAccess(*panels)), facts,
                            [this](const QString &t) { return inLanguage(t); });
}

void MainWindow::printConfigSheet()
{
    const ConfigSheet sheet = configSheet();
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(sheet.title);
    if (!printDialogs->choosePrinter(printer))
        return;
    paintSheet(sheetHtml(sheet), printer);
    if (printer.printerState() == QPrinter::Error)
        throw AppError(QStringLiteral("Не удалось напечатать карту настроек"));
    statusFile->setText(inLanguage(QStringLiteral("Карта настроек отправлена на печать")));
}

void MainWindow::saveConfigSheetPdf()
{
    const ConfigSheet sheet = configSheet();
    const QString path = pdfDialogs->saveFileName();
    if (path.isEmpty())
        return;
    if (QFileInfo::exists(path) && !boxes.question(QStringLiteral("Файл с таким именем существует.  Заменить?")))
        return;
    writeSheetPdf(sheetHtml(sheet), path, sheet.title);
    statusFile->setText(inLanguage(QStringLiteral("Карта настроек сохранена: %1")).arg(path));
}

void MainWindow::wireSheet()
{
    printAction = new QAction(QStringLiteral("Печать…"), menuFile);
    printAction->setObjectName(QStringLiteral("menu_print"));
    printAction->setShortcut(QKeySequence::Print);
    savePdfAction = new QAction(QStringLiteral("Сохранить PDF…"), menuFile);
    savePdfAction->setObjectName(QStringLiteral("menu_pdf"));
    // Above "Выход", after the configuration files.
    QAction *beforeExit = nullptr;
    for (QAction *a : menuFile->actions())
        if (a->objectName() == QLatin1String("N5"))
            beforeExit = a;
    menuFile->insertSeparator(beforeExit);
    menuFile->insertAction(beforeExit, printAction);
    menuFile->insertAction(beforeExit, savePdfAction);

    printDialogs = std::make_unique<QtPrintDialogs>(this);
    FileKind kind;
    kind.filter = QStringLiteral("Документ PDF (*.pdf)");
    kind.extension = QStringLiteral("pdf");
    kind.translate = [this](const QString &t) { return inLanguage(t); };
    kind.lastFolder = [this] { return prefs.lastFolder(QStringLiteral("pdf")); };
    kind.rememberFolder = [this](const QString &f) { prefs.setLastFolder(QStringLiteral("pdf"), f); };
    pdfDialogs = std::make_unique<QtFileDialogs>(this, kind);

    connect(printAction, &QAction::triggered, this, [this] { guarded([this] { printConfigSheet(); }); });
    connect(savePdfAction, &QAction::triggered, this, [this] { guarded([this] { saveConfigSheetPdf(); }); });
}

} // namespace zarven
