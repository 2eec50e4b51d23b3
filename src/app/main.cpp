// Entry of zarven4-config: the window, or a batch command without one.

#include "app/batch_mode.h"
#include "app/command_line.h"
#include "app/main_window.h"
#include "core/application_title.h"
#include "core/message_boxes.h"

#include <QApplication>
#include <QTimer>
#include <cstdio>

using namespace zarven;

int main(int argc, char *argv[])
{
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    const CommandLine cl = parseCommandLine(args);

    switch (cl.action) {
    case CommandLine::Action::Help:
        std::fputs(usageText().toUtf8().constData(), stdout);
        return 0;
    case CommandLine::Action::Version:
        std::printf("zarven4-config %s\n", ZARVEN_VERSION);
        return 0;
    case CommandLine::Action::Error:
        std::fprintf(stderr, "zarven4-config: %s\n\n%s", cl.error.toUtf8().constData(),
                     usageText().toUtf8().constData());
        return 2;
    case CommandLine::Action::Batch:
        return runBatch(cl, argc, argv);
    case CommandLine::Action::RunWindow:
        break;
    }

    QApplication app(argc, argv);
    setApplicationTitle(QStringLiteral("Зарвен-4"));
    QtMessageBoxes boxes;
    AppOptions options = cl.options;
    options.userSession = true;
    options.deviceFolder = QStringLiteral("/dev");
    MainWindow window(options, boxes);
    window.show();
    if (cl.exitWhenShown)
        QTimer::singleShot(0, &app, &QApplication::quit);
    return app.exec();
}
