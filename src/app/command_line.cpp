#include "app/command_line.h"

#include "app/batch_mode.h"

namespace zarven {

QString usageText()
{
    return QStringLiteral(
        "Usage: zarven4-config [OPTIONS]\n"
        "       zarven4-config COMMAND --port DEV [--port DEV ...] [OPTIONS]\n"
        "\n"
        "Configuration tool for the ZARVEN-4 GSM alarm controller.\n"
        "\n"
        "Options:\n"
        "  --port DEV         add a serial device path to the port list (repeatable)\n"
        "  --workdir DIR      the program's folder for trans.dic, save.000, LoadFile.rep\n"
        "                     and log.log (default: ~/.local/share/zarven4-config)\n"
        "  --only-listed-ports  list only the --port devices, not the machine's own ports\n"
        "  --exit-when-shown  quit as soon as the window is shown (start-up measurements)\n"
        "  --language ru|en   the language of the window and of the printed texts; the\n"
        "                     window otherwise starts in the language it last used,\n"
        "                     batch commands print Russian\n"
        "  --help             show this text\n"
        "  --version          show the version\n"
        "\n"
        "Batch commands (no window; every box's text is printed, boxes answered Yes;\n"
        "exit 0 success, 1 device exchange failed, 2 usage or file error,\n"
        "3 compare found differences):\n")
        + batchCommandHelp()
        + QStringLiteral("\n"
                         "Environment:\n"
                         "  ZARVEN_TIMER_DIVISOR=N  divide every timer interval of a batch run by N (tests)\n");
}

CommandLine parseCommandLine(const QStringList &args)
{
    CommandLine cl;
    auto fail = [&cl](const QString &message) {
        cl.action = CommandLine::Action::Error;
        cl.error = message;
        return cl;
    };
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        auto value = [&](QString &out) {
            if (i + 1 >= args.size())
                return false;
            out = args[++i];
            return true;
        };
        if (a == QLatin1String("--help") || a == QLatin1String("-h")) {
            cl.action = CommandLine::Action::Help;
            return cl;
        }
        if (a == QLatin1String("--version")) {
            cl.action = CommandLine::Action::Version;
            return cl;
        }
        if (a == QLatin1String("--port")) {
            QString dev;
            if (!value(dev) || dev.isEmpty())
                return fail(QStringLiteral("--port needs a device path"));
            cl.options.extraPorts << dev;
        } else if (a == QLatin1String("--workdir")) {
            QString dir;
            if (!value(dir) || dir.isEmpty())
                return fail(QStringLiteral("--workdir needs a folder"));
            cl.options.workDir = dir;
        } else if (a == QLatin1String("--language")) {
            QString code;
            if (!value(code) || (code != QLatin1String("ru") && code != QLatin1String("en")))
                return fail(QStringLiteral("--language needs ru or en"));
            cl.options.language = code == QLatin1String("en") ? QLatin1Char('E') : QLatin1Char('R');
        } else if (a == QLatin1String("--exit-when-shown")) {
            cl.exitWhenShown = true;
        } else if (a == QLatin1String("--only-listed-ports")) {
            cl.options.includeSystemPorts = false;
        } else if (a.startsWith(QLatin1String("--")) && cl.action == CommandLine::Action::Batch) {
            // A batch command's own option, with its value.
            cl.batchArgs << a;
            if (i + 1 < args.size() && !args[i + 1].startsWith(QLatin1String("--")))
                cl.batchArgs << args[++i];
        } else if (a.startsWith(QLatin1Char('-'))) {
            return fail(QStringLiteral("unknown option: %1").arg(a));
        } else if (cl.action == CommandLine::Action::RunWindow) {
            cl.action = CommandLine::Action::Batch;
            cl.batchCommand = a;
        } else if (cl.action == CommandLine::Action::Batch) {
            cl.batchFiles << a;
        } else {
            return fail(QStringLiteral("unexpected argument: %1").arg(a));
        }
    }
    return cl;
}

} // namespace zarven
