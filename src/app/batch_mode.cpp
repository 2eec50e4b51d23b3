#include "app/batch_mode.h"
#include "core/application_title.h"

#include "app/batch_compare.h"
#include "app/batch_formats.h"
#include "app/batch_journal.h"
#include "app/batch_keys.h"
#include "app/batch_provision.h"
#include "app/batch_settings.h"
#include "app/batch_system.h"
#include "app/batch_signal_watch.h"

#include "app/main_window.h"
#include "core/message_boxes.h"
#include "exchange/device_exchange.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QLabel>
#include <QProgressBar>
#include <QTimer>
#include <cstdio>
#include <optional>

namespace zarven {

namespace {

void writeUtf8(std::FILE *stream, const QString &text)
{
    QString t = text;
    t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    const QByteArray bytes = t.toUtf8() + '\n';
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
    std::fflush(stream);
}

int runIdentify(BatchSession &s)
{
    if (!s.identify())
        return BatchExchangeFailed;
    s.print(s.form().statusPanels[1]->text());
    return BatchSuccess;
}

int runSignal(BatchSession &s)
{
    if (s.hasFlag(QStringLiteral("--watch")))
        return runSignalWatch(s);
    for (const char *option : {"--interval", "--count", "--csv"})
        if (!s.option(QLatin1String(option)).isEmpty()) {
            s.printError(QStringLiteral("zarven4-config: %1 needs --watch").arg(QLatin1String(option)));
            return BatchUsageError;
        }
    if (!s.identify())
        return BatchExchangeFailed;
    auto &query = s.form().exchange->signalLevel;
    std::optional<SignalOutcome> outcome;
    const auto c = QObject::connect(&query, &SignalLevelQuery::queryFinished,
                                    [&outcome](SignalOutcome o) { outcome = o; });
    const TimerIntervals &iv = s.form().options.intervals;
    const bool ran = s.run([&query] { query.startQuery(); });
    const bool ended = ran && s.waitUntil([&outcome] { return outcome.has_value(); }, 3 * iv.responseTimeoutMs);
    QObject::disconnect(c);
    if (!ended)
        return BatchExchangeFailed;
    switch (*outcome) {
    case SignalOutcome::Shown:
    case SignalOutcome::NoService:
    case SignalOutcome::NoNumber:
        s.print(s.form().signalLabel->text() + QLatin1Char(' ') + QString::number(s.form().signalGauge->value())
                + QLatin1Char('%'));
        return *outcome == SignalOutcome::Shown ? BatchSuccess : BatchExchangeFailed;
    case SignalOutcome::WrongReply:
        s.printError(QStringLiteral("zarven4-config: the controller's reply holds no signal report"));
        return BatchExchangeFailed;
    case SignalOutcome::TimedOut:
    case SignalOutcome::NoConnection:
    case SignalOutcome::LineLost:
        return BatchExchangeFailed;
    }
    return BatchExchangeFailed;
}

const BatchCommand *findCommand(const QString &name)
{
    for (const auto &c : batchCommands())
        if (c.name == name)
            return &c;
    return nullptr;
}

// Qt's own diagnostics (a missing runtime folder of the offscreen platform,
// say) would mix with the boxes' texts; only serious ones are passed on.
void batchMessageHandler(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        writeUtf8(stderr, message);
}

int usageError(const QString &message)
{
    writeUtf8(stderr, QStringLiteral("zarven4-config: ") + message + QStringLiteral("\n\n") + usageText());
    return BatchUsageError;
}

} // namespace

const std::vector<BatchCommand> &batchCommands()
{
    static const std::vector<BatchCommand> commands = {
        {QStringLiteral("identify"), QStringLiteral("find the controller on the --port devices"), {}, runIdentify},
        {QStringLiteral("signal"),
         QStringLiteral("identify, then show the GSM signal level (--watch: a line per reading every\n"
                        "                     --interval S seconds, 1-10, default 2, until --count N\n"
                        "                     readings or Ctrl-C, then min/avg/max; --csv FILE: the\n"
                        "                     readings as rows; 1 when the first reading fails)"),
         {QStringLiteral("--interval"), QStringLiteral("--count"), QStringLiteral("--csv")}, runSignal, true,
         {QStringLiteral("--watch")}},
        {QStringLiteral("encode"), QStringLiteral("print the settings image of --input FILE.cfg as hex"),
         {QStringLiteral("--input")}, runEncodeCommand, false},
        {QStringLiteral("decode"), QStringLiteral("decode the settings image --image FILE into --output FILE.cfg"),
         {QStringLiteral("--image"), QStringLiteral("--output")}, runDecodeCommand, false},
        {QStringLiteral("print"),
         QStringLiteral("write the configuration sheet of --input FILE.cfg as --output FILE.pdf\n"
                        "                     (--keys FILE.key: with the keys' descriptions)"),
         {QStringLiteral("--input"), QStringLiteral("--output"), QStringLiteral("--keys")}, runPrintCommand, false},
        {QStringLiteral("read-keys"), QStringLiteral("identify, then save the key table as --output FILE.key"),
         {QStringLiteral("--output")}, runReadKeysCommand},
        {QStringLiteral("write-keys"), QStringLiteral("identify, then write the key file --input FILE.key"),
         {QStringLiteral("--input")}, runWriteKeysCommand},
        {QStringLiteral("read-settings"), QStringLiteral("identify, read the settings, save them to --output FILE.cfg"),
         {QStringLiteral("--output")}, runReadSettingsCommand},
        {QStringLiteral("write-settings"),
         QStringLiteral("identify, load --input FILE.cfg and write it (--now: current date and time;\n"
                        "                     --verify: read back and compare, 3 when they differ;\n"
                        "                     --preview: print what it would change, 3 if anything, and write nothing)"),
         {QStringLiteral("--input")}, runWriteSettingsCommand, true,
         {QStringLiteral("--now"), QStringLiteral("--verify"), QStringLiteral("--preview")}},
        {QStringLiteral("compare"),
         QStringLiteral("identify, then list the fields of --input FILE.cfg that differ\n"
                        "                     (--now: compare with the current date and time)"),
         {QStringLiteral("--input")}, runCompareCommand, true, {QStringLiteral("--now")}},
        {QStringLiteral("doctor"), QStringLiteral("check the machine's serial ports, udev, ModemManager and brltty"), {},
         runDoctorCommand, false},
        {QStringLiteral("support-bundle"),
         QStringLiteral("save --output FILE.zip for support (with --port: after a scan there)"),
         {QStringLiteral("--output")}, runSupportBundleCommand, false},
        {QStringLiteral("diff"), QStringLiteral("list the fields that differ between two configuration files A.cfg B.cfg"),
         {}, runDiffCommand, false, {}, 2},
        {QStringLiteral("journal"),
         QStringLiteral("list the journal's entries (--site TEXT, --limit N), or write one out:\n"
                        "                     --export ID --output FILE.cfg"),
         {QStringLiteral("--site"), QStringLiteral("--limit"), QStringLiteral("--export"), QStringLiteral("--output")},
         runJournalCommand, false},
        {QStringLiteral("provision"),
         QStringLiteral("write a series of controllers: --template T.cfg with one row of --sites S.csv\n"
                        "                     each (--keys K.key, --report R.csv, --resume; --port DEV: where\n"
                        "                     they are plugged, else a newly plugged adapter; --columns: the\n"
                        "                     table's columns)"),
         {QStringLiteral("--template"), QStringLiteral("--sites"), QStringLiteral("--keys"), QStringLiteral("--report")},
         runProvisionCommand, false, {QStringLiteral("--resume"), QStringLiteral("--columns")}},
    };
    return commands;
}

QString batchCommandHelp()
{
    QString out;
    for (const auto &c : batchCommands())
        out += QStringLiteral("  %1%2\n").arg(c.name.leftJustified(19), c.summary);
    return out;
}

BatchSession::BatchSession(MainWindow &form, ScriptedMessageBoxes &boxes, QStringList args, QStringList files)
    : form_(form), boxes_(boxes), args_(std::move(args)), files_(std::move(files))
{
    // The exchange has told the user why; the wait ends with it.
    lost_ = QObject::connect(&form_.exchange->core, &ExchangeCore::connectionLost, [this] { lineLost_ = true; });
}

BatchSession::~BatchSession()
{
    QObject::disconnect(lost_);
}

QString BatchSession::option(const QString &name) const
{
    for (qsizetype i = 0; i + 1 < args_.size(); ++i)
        if (args_[i] == name)
            return args_[i + 1];
    return {};
}

QString BatchSession::requiredOption(const QString &name)
{
    const QString value = option(name);
    if (value.isEmpty())
        printError(QStringLiteral("zarven4-config: %1 FILE is required").arg(name));
    return value;
}

bool BatchSession::run(const std::function<void()> &handler)
{
    try {
        handler();
        return true;
    } catch (const LineLostError &) {
        // Told by the exchange that the loss ended.
    } catch (const AppError &e) {
        boxes_.error(e.message());
    } catch (const std::exception &e) {
        boxes_.error(QString::fromLocal8Bit(e.what()));
    }
    return false;
}

bool BatchSession::waitUntil(const std::function<bool()> &finished, int limitMs)
{
    QElapsedTimer clock;
    clock.start();
    while (!finished()) {
        if (lineLost_)
            return false;
        if (clock.elapsed() > limitMs) {
            printError(QStringLiteral("zarven4-config: the exchange did not end in time"));
            return false;
        }
        QEventLoop loop;
        QTimer::singleShot(20, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return true;
}

bool BatchSession::identify()
{
    auto &scan = form_.exchange->scan;
    std::optional<ScanOutcome> outcome;
    const auto c = QObject::connect(&scan, &ControllerScan::scanFinished, [&outcome](ScanOutcome o) {
        if (!outcome)
            outcome = o;
    });
    const TimerIntervals &iv = form_.options.intervals;
    const bool ran = run([&scan] { scan.startScan(); });
    // Every port costs one step, one more ends the scan; the acceptance box
    // is answered at once.
    const int limit = (form_.portList->count() + 3) * iv.scanStepMs + iv.responseTimeoutMs;
    const bool ended = ran && waitUntil([&outcome] { return outcome.has_value(); }, limit);
    QObject::disconnect(c);
    return ended && *outcome == ScanOutcome::Connected;
}

void BatchSession::print(const QString &text)
{
    writeUtf8(stdout, text);
}

void BatchSession::printError(const QString &text)
{
    writeUtf8(stderr, text);
}

int runBatch(const CommandLine &cl, int &argc, char **argv)
{
    const BatchCommand *command = findCommand(cl.batchCommand);
    if (!command)
        return usageError(QStringLiteral("unknown command: %1").arg(cl.batchCommand));
    const QStringList &args = cl.batchArgs;
    for (qsizetype i = 0; i < args.size(); i += 2) {
        if (command->flagOptions.contains(args[i])) {
            --i;
            continue;
        }
        if (!command->valueOptions.contains(args[i]))
            return usageError(QStringLiteral("%1 takes no option %2").arg(command->name, args[i]));
        if (i + 1 >= args.size())
            return usageError(QStringLiteral("%1 needs a value").arg(args[i]));
    }
    if (cl.batchFiles.size() != command->files) {
        if (command->files == 0)
            return usageError(QStringLiteral("unexpected argument: %1").arg(cl.batchFiles.first()));
        return usageError(QStringLiteral("%1 takes %2 files").arg(command->name).arg(command->files));
    }
    if (command->needsPorts && cl.options.extraPorts.isEmpty())
        return usageError(QStringLiteral("%1 needs at least one --port DEV").arg(command->name));

    AppOptions options = cl.options;
    // A script's output never depends on the window's remembered language.
    options.userSession = false;
    if (options.language.isNull())
        options.language = QLatin1Char('R');
    // The scan of a batch run tries only the devices it was given.
    options.includeSystemPorts = false;
    if (!options.workDir.isEmpty() && !QFileInfo(options.workDir).isDir()) {
        writeUtf8(stderr, QStringLiteral("zarven4-config: no such folder: %1").arg(options.workDir));
        return BatchUsageError;
    }
    const QByteArray divisorText = qgetenv(kTimerDivisorVariable);
    if (!divisorText.isEmpty()) {
        bool ok = false;
        const int divisor = divisorText.toInt(&ok);
        if (!ok || divisor < 1)
            return usageError(QStringLiteral("%1 must be a whole number of 1 or more").arg(kTimerDivisorVariable));
        options.intervals = options.intervals.scaled(divisor);
    }

    // The window is never shown: no display is needed.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(batchMessageHandler);
    QApplication app(argc, argv);
    setApplicationTitle(QStringLiteral("Зарвен-4"));

    ScriptedMessageBoxes boxes;
    boxes.setDefaultAnswer(true);
    boxes.setOnShow([](const ScriptedMessageBoxes::Shown &box) {
        writeUtf8(stdout, box.text);
        if (box.kind == BoxKind::Error)
            writeUtf8(stderr, box.text);
    });

    auto form = std::make_unique<MainWindow>(options, boxes);
    int status = BatchExchangeFailed;
    {
        BatchSession session(*form, boxes, args, cl.batchFiles);
        status = command->run(session);
    }
    // The window's end closes the port and writes log.log; a failure there
    // is a file error.
    const qsizetype errorsBefore = boxes.texts(BoxKind::Error).size();
    form.reset();
    if (status == BatchSuccess && boxes.texts(BoxKind::Error).size() > errorsBefore)
        status = BatchUsageError;
    return status;
}

} // namespace zarven
