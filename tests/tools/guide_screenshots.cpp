// Takes the user guide's pictures: the real window, real message boxes and
// the simulated controller, on whatever display the program is given
// (scripts/screenshots.sh runs it under a virtual X display).
//
//     guide_screenshots DOCS_FOLDER ru|en
//
// writes DOCS_FOLDER/window-ru.png (the README's) and the guide's pictures
// under DOCS_FOLDER/guide/.

#include "app/antenna_window.h"
#include "app/main_window.h"
#include "config_file/config_files.h"
#include "core/message_boxes.h"
#include "exchange/device_exchange.h"
#include "editor/input_panel.h"
#include "editor/settings_panels.h"
#include "keys/key_panel.h"
#include "keys/key_programming.h"
#include "sheet/config_sheet.h"
#include "sheet/sheet_printer.h"
#include "formats_fixture.h"
#include "sim_process.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QLineEdit>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFrame>
#include <QMessageBox>
#include <QPushButton>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <optional>

using namespace zarven;

namespace {

QString g_out;
QString g_lang;

void pause(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

bool waitFor(const std::function<bool()> &done, int limitMs = 15000)
{
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < limitMs)
        pause(20);
    return done();
}

// Screenshots are kept small: a palette of 256 colours is plenty for a
// window of flat controls.
void save(const QPixmap &pixmap, const QString &name)
{
    const QString path = QDir(g_out).filePath(name + QLatin1Char('-') + g_lang + QStringLiteral(".png"));
    pixmap.toImage().convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither).save(path);
    std::printf("%s\n", qPrintable(path));
}

// Real boxes; each is photographed and answered Yes (or OK) once shown.
class PhotographedBoxes : public MessageBoxes {
public:
    QStringList names; // the picture names of the next boxes; empty: no picture
    bool show(BoxKind kind, const QString &text) override
    {
        photographThenAnswer();
        return real_.show(kind, text);
    }
    // The tool leaves the window without saving what it set up.
    SaveChoice askToSave(const QString &) override { return SaveChoice::Discard; }
    // The preview before a write is photographed and accepted.
    bool review(const QString &heading, const QStringList &lines, const QString &action) override
    {
        photographThenAnswer();
        return real_.review(heading, lines, action);
    }
    // A question with its own buttons is photographed and answered with its
    // first (default) button.
    int choose(const QString &text, const QStringList &buttons) override
    {
        photographThenAnswer();
        return real_.choose(text, buttons);
    }

private:
    // Once the next box is open: its picture, then Yes, OK or its first
    // button (the preview's action).
    void photographThenAnswer()
    {
        const QString name = names.isEmpty() ? QString() : names.takeFirst();
        QTimer::singleShot(400, [name] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box)
                return;
            if (!name.isEmpty())
                save(box->grab(), name);
            QAbstractButton *answer = box->button(QMessageBox::Yes);
            if (!answer)
                answer = box->button(QMessageBox::Ok);
            if (!answer)
                answer = box->defaultButton();
            if (!answer && !box->buttons().isEmpty())
                answer = box->buttons().first();
            if (answer)
                answer->click();
        });
    }

    QtMessageBoxes real_;
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: guide_screenshots DOCS_FOLDER ru|en\n");
        return 2;
    }
    g_out = QString::fromLocal8Bit(argv[1]);
    g_lang = QString::fromLocal8Bit(argv[2]);

    // A level that wanders, from a fixed seed, so the monitor has a graph to show.
    auto sim = std::make_unique<test::SimProcess>(
        QStringList{QStringLiteral("--csq-walk"), QStringLiteral("--seed"), QStringLiteral("4")});
    if (!sim->isRunning()) {
        std::fprintf(stderr, "simulator: %s\n", qPrintable(sim->errorText()));
        return 1;
    }
    QTemporaryDir work;
    AppOptions options;
    options.workDir = work.path();
    options.extraPorts = {sim->devicePath()};
    options.includeSystemPorts = false;
    options.intervals = TimerIntervals().scaled(4);
    // The monitor's minutes pass in seconds.
    options.intervals.monitorSecondMs = 10;
    PhotographedBoxes boxes;
    MainWindow w(options, boxes);
    w.show();
    if (g_lang == QLatin1String("en"))
        w.englishAction->trigger();
    pause(500);
    save(w.grab(), QStringLiteral("window"));

    // Connect: the box, then the window with the connection in its status bar.
    boxes.names = {QStringLiteral("guide/connect-box")};
    w.connectButton->click();
    waitFor([&] { return !w.shared.ConnectedPort.isEmpty() && !w.scanTimer->isActive(); });
    pause(600);
    save(w.grab(), QStringLiteral("guide/connected"));

    // Read and write: the box that ends each exchange.
    auto idle = [&] { return w.shared.SessionState == ssIdle; };
    boxes.names = {QStringLiteral("guide/read-box")};
    w.readSettingsButton->click();
    waitFor(idle);
    pause(300);
    // An active input needs its message before the settings can be written.
    w.panels->inputPanel(1)->messageEdit->setText(g_lang == QLatin1String("en") ? QStringLiteral("Door opened")
                                                                               : QStringLiteral("Открыта дверь"));
    boxes.names = {QStringLiteral("guide/write-box")};
    w.writeSettingsButton->click();
    waitFor(idle);
    pause(300);

    // Save: the status bar says what was saved and where.
    auto dialogs = std::make_unique<test::ScriptedFileDialogs>();
    dialogs->saveNames = {QDir(work.path()).filePath(g_lang == QLatin1String("en") ? QStringLiteral("smith-house.cfg")
                                                                                    : QStringLiteral("дом-иванова.cfg"))};
    w.configFiles->setFileDialogs(std::move(dialogs));
    w.saveFileAction->trigger();
    pause(300);
    // The "Файл" menu, open over the top of the window, with the file just
    // saved in its recent list.
    w.menuFile->popup(w.mapToGlobal(w.menuBar()->actionGeometry(w.menuFile->menuAction()).bottomLeft()));
    w.menuRecent->popup(w.menuFile->geometry().topRight()
                        + QPoint(0, w.menuFile->actionGeometry(w.menuRecent->menuAction()).top()));
    pause(400);
    QPixmap shot = w.grab(QRect(0, 0, w.width(), w.menuFile->geometry().bottom() - w.geometry().top() + 8));
    {
        QPainter painter(&shot);
        for (QMenu *menu : {w.menuFile, w.menuRecent})
            painter.drawPixmap(menu->geometry().topLeft() - w.geometry().topLeft(), menu->grab());
    }
    save(shot, QStringLiteral("guide/file-menu"));
    w.menuRecent->close();
    w.menuFile->close();

    // Keys: the controller's table, then the first key read from the reader
    // and described.
    bool tableRead = false;
    QObject::connect(w.keys, &KeyProgramming::tableReceived, [&] { tableRead = true; });
    w.keyProgrammingButton->click();
    waitFor([&] { return tableRead; });
    pause(300);
    const QString codeBefore = w.keyPanel->rows()[0].code;
    w.keyPanel->readKeyButtons[0]->click();
    waitFor([&] { return w.keyPanel->rows()[0].code != codeBefore; });
    waitFor(idle);
    KeyRows rows = w.keyPanel->rows();
    rows[0].description = g_lang == QLatin1String("en") ? QStringLiteral("Front door") : QStringLiteral("Входная дверь");
    w.keyPanel->setRows(rows);
    pause(600);
    save(w.grab(), QStringLiteral("guide/keys"));
    w.keyPanel->closeKeysButton->click();
    waitFor(idle);
    pause(300);

    // The configuration sheet's first page, with the file saved above and
    // the key just described.
    save(QPixmap::fromImage(sheetFirstPage(sheetHtml(w.configSheet()), 96)), QStringLiteral("guide/sheet"));

    // The signal level row.
    w.signalRefreshButton->click();
    waitFor([&] { return w.shared.SessionState != ssSignalLevel; });
    pause(300);
    save(w.bottomBar->grab(), QStringLiteral("guide/signal"));

    // The monitor: five of its minutes of readings in the window "Антенна".
    w.monitorButton->click();
    w.antennaWindow->resize(680, 460);
    w.antennaWindow->soundBox->setChecked(false);
    pause(4500);
    save(w.antennaWindow->grab(), QStringLiteral("guide/antenna"));
    w.monitorButton->click();
    w.antennaWindow->hide();
    waitFor([&] { return w.shared.SessionState == ssIdle || w.shared.SessionState == ssClosed; });
    pause(300);

    // Unplugged: the rescan explains why the port gave nothing.
    sim.reset();
    pause(300);
    boxes.names = {QStringLiteral("guide/no-answer")};
    std::optional<ScanOutcome> outcome;
    QObject::connect(&w.exchange->scan, &ControllerScan::scanFinished, [&](ScanOutcome o) { outcome = o; });
    w.connectAction->trigger();
    waitFor([&] { return outcome.has_value(); });
    pause(600);
    return 0;
}
