#include "sim_command_line.h"

#include "core/cp1251.h"
#include "hex_text.h"

#include <random>


namespace zarven::sim {

namespace {

std::optional<int> boundedInt(const QString &text, int low, int high)
{
    bool ok = false;
    const int v = text.toInt(&ok);
    if (!ok || v < low || v > high)
        return std::nullopt;
    return v;
}

// "CMD=VALUE" with a known command name.
std::optional<std::pair<SimCommand, QString>> commandAssignment(const QString &text, QString *error)
{
    const qsizetype eq = text.indexOf(QLatin1Char('='));
    const QString name = eq < 0 ? text : text.left(eq);
    const auto command = commandFromName(name);
    if (!command) {
        *error = QStringLiteral("unknown command \"%1\" (known: %2)").arg(name, allCommandNames().join(QStringLiteral(", ")));
        return std::nullopt;
    }
    if (eq < 0) {
        *error = QStringLiteral("expected COMMAND=REPLY, got \"%1\"").arg(text);
        return std::nullopt;
    }
    return std::make_pair(*command, text.mid(eq + 1));
}

} // namespace

QString simUsageText()
{
    return QStringLiteral(
        "Usage: zarven4-sim [options]\n"
        "Simulates a ZARVEN-4 controller on a pseudo-terminal. Prints the device\n"
        "path on standard output, then answers the tool's commands until killed.\n"
        "\n"
        "  --state FILE       keep the settings image and key table in FILE\n"
        "                     (read at start if present, written after each change)\n"
        "  --model TEXT       reply to \"Tt\" (default \"T6 v2.14\")\n"
        "  --csq N            signal level in the reply to \"Sg\", 0-99 (default 17)\n"
        "  --csq-reply TEXT   the whole reply to \"Sg\", e.g. \"+CSQ: 99,99\"\n"
        "  --csq-walk         let the level of each \"Sg\" reply walk at random between\n"
        "                     5 and 31, now and then 99 (for the signal monitor)\n"
        "  --seed N           start the walk from seed N, 0-4294967295 (default: a new\n"
        "                     seed each run, printed with --verbose)\n"
        "  --key-code HEX     the key code \"Kr\" answers (default 015A3C1E0B000095)\n"
        "  --cn-packets N     send the key table in N packets, 1-10 (default 1)\n"
        "  --link PATH        also make PATH a symbolic link to the device\n"
        "  --baud N           run the line at N bit/s, 8N1 (38400 is the controller's):\n"
        "                     every byte takes its wire time both ways, about 260 us\n"
        "                     at 38400, so measured times include it (default: none)\n"
        "  --journal FILE     append the name of every command received to FILE,\n"
        "                     one a line (\"unknown\" for any other packet)\n"
        "  --unplug-idle MS   a series of controllers on the --link: after a settings\n"
        "                     write, once nothing but \"Tt\" has come for MS ms, the\n"
        "                     controller is unplugged (link removed, terminal closed);\n"
        "                     --replug MS later (default 500) a fresh one is plugged on\n"
        "                     a new terminal; with --state FILE each keeps FILE.N\n"
        "  --units N          end after N controllers of the series (default: no end)\n"
        "  --faulty-unit K    only the K-th controller of the series plays the faults\n"
        "  SIGUSR1            unplugs the controller at once, or plugs the next one\n"
        "  --verbose          log every command received on standard error\n"
        "  --help             show this text\n"
        "\n"
        "Faults:\n"
        "  --silent CMD       ignore CMD: no reply, no effect (repeatable)\n"
        "  --wrong CMD=BYTES  answer CMD with this packet content instead; CMD has no\n"
        "                     effect (repeatable). BYTES is hexadecimal (\"4F 6B\") or\n"
        "                     \"text:\" followed by text (\"text:ok\")\n"
        "  --wrong-raw CMD=BYTES  the same, but the bytes go out unframed, as given\n"
        "  --delay MS         wait MS milliseconds before every reply\n"
        "  --chunk N          send replies in pieces of N bytes\n"
        "  --chunk-gap MS     pause between pieces (default 5)\n"
        "  --junk HEX         send these bytes in front of every reply packet\n"
        "  --store-changed POS=HEX  store every settings write with the image byte at\n"
        "                     POS (from 0, after 99 99) replaced by HEX, still \"COK\"\n"
        "  --drop-after CMD   when CMD arrives, close the pseudo-terminal without a\n"
        "                     reply and exit, as an adapter pulled in the middle of\n"
        "                     an exchange: the tool sees a hang-up and its device gone\n"
        "\n"
        "Commands (CMD): Tt, Pt, write (or 9999: the 99 99 settings write), Cn, Kr,\n"
        "Wr, table (the key table stream after \"Wr\"), Ur, Sg.\n");
}

SimCommandLine parseSimCommandLine(const QStringList &args)
{
    SimCommandLine cl;
    SimulatorOptions &o = cl.options;
    bool seedGiven = false;
    auto fail = [&cl](const QString &message) {
        cl.action = SimCommandLine::Action::Error;
        cl.error = message;
        return cl;
    };

    for (qsizetype i = 0; i < args.size(); ++i) {
        QString name = args[i];
        QString value;
        bool hasValue = false;
        const qsizetype eq = name.indexOf(QLatin1Char('='));
        if (name.startsWith(QLatin1String("--")) && eq > 0) {
            value = name.mid(eq + 1);
            name = name.left(eq);
            hasValue = true;
        }
        auto takeValue = [&]() -> bool {
            if (hasValue)
                return true;
            if (i + 1 >= args.size())
                return false;
            value = args[++i];
            return true;
        };

        if (name == QLatin1String("--help") || name == QLatin1String("-h")) {
            cl.action = SimCommandLine::Action::Help;
            return cl;
        }
        if (name == QLatin1String("--verbose")) {
            cl.verbose = true;
            continue;
        }
        if (name == QLatin1String("--csq-walk")) {
            o.signalWalk = true;
            continue;
        }

        static const QStringList withValue = {
            QStringLiteral("--state"), QStringLiteral("--model"), QStringLiteral("--csq"),
            QStringLiteral("--csq-reply"), QStringLiteral("--key-code"), QStringLiteral("--cn-packets"),
            QStringLiteral("--link"), QStringLiteral("--journal"), QStringLiteral("--silent"), QStringLiteral("--wrong"),
            QStringLiteral("--wrong-raw"), QStringLiteral("--delay"), QStringLiteral("--chunk"),
            QStringLiteral("--chunk-gap"), QStringLiteral("--junk"), QStringLiteral("--store-changed"),
            QStringLiteral("--baud"), QStringLiteral("--drop-after"),
            QStringLiteral("--seed"), QStringLiteral("--unplug-idle"), QStringLiteral("--replug"),
            QStringLiteral("--units"), QStringLiteral("--faulty-unit")};
        if (!withValue.contains(name))
            return fail(QStringLiteral("unknown option \"%1\"").arg(args[i]));
        if (!takeValue())
            return fail(QStringLiteral("option %1 needs a value").arg(name));

        QString error;
        if (name == QLatin1String("--state")) {
            o.statePath = value;
        } else if (name == QLatin1String("--model")) {
            o.modelReply = toCp1251(value);
        } else if (name == QLatin1String("--csq")) {
            const auto level = boundedInt(value, 0, 99);
            if (!level)
                return fail(QStringLiteral("--csq wants a level from 0 to 99, got \"%1\"").arg(value));
            o.signalReply = signalReplyForLevel(*level);
        } else if (name == QLatin1String("--seed")) {
            bool ok = false;
            const uint seed = value.toUInt(&ok);
            if (!ok)
                return fail(QStringLiteral("--seed wants a whole number from 0 to 4294967295, got \"%1\"").arg(value));
            o.walkSeed = seed;
            seedGiven = true;
        } else if (name == QLatin1String("--csq-reply")) {
            o.signalReply = toCp1251(value);
        } else if (name == QLatin1String("--key-code")) {
            const auto code = parseHexBytes(value, &error);
            if (!code)
                return fail(QStringLiteral("--key-code: %1").arg(error));
            o.keyCode = *code;
        } else if (name == QLatin1String("--cn-packets")) {
            const auto n = boundedInt(value, 1, kKeyCount);
            if (!n)
                return fail(QStringLiteral("--cn-packets wants 1 to %1, got \"%2\"").arg(kKeyCount).arg(value));
            o.keyTablePackets = *n;
        } else if (name == QLatin1String("--link")) {
            cl.linkPath = value;
        } else if (name == QLatin1String("--baud")) {
            const auto baud = boundedInt(value, 50, 4000000);
            if (!baud)
                return fail(QStringLiteral("--baud wants bit/s from 50 to 4000000, got \"%1\"").arg(value));
            o.baud = *baud;
        } else if (name == QLatin1String("--drop-after")) {
            const auto command = commandFromName(value);
            if (!command)
                return fail(QStringLiteral("--drop-after: unknown command \"%1\" (known: %2)")
                                .arg(value, allCommandNames().join(QStringLiteral(", "))));
            o.faults.dropAfter = *command;
        } else if (name == QLatin1String("--unplug-idle") || name == QLatin1String("--replug")
                   || name == QLatin1String("--units") || name == QLatin1String("--faulty-unit")) {
            const auto n = boundedInt(value, name == QLatin1String("--unplug-idle") ? 1 : 0, 3600000);
            if (!n)
                return fail(QStringLiteral("%1 wants a whole number, got \"%2\"").arg(name, value));
            int &target = name == QLatin1String("--unplug-idle") ? cl.unplugIdleMs
                : name == QLatin1String("--replug")              ? cl.replugMs
                : name == QLatin1String("--units")               ? cl.units
                                                                 : cl.faultyUnit;
            target = *n;
        } else if (name == QLatin1String("--journal")) {
            o.journalPath = value;
        } else if (name == QLatin1String("--silent")) {
            const auto command = commandFromName(value);
            if (!command)
                return fail(QStringLiteral("--silent: unknown command \"%1\" (known: %2)")
                                .arg(value, allCommandNames().join(QStringLiteral(", "))));
            o.faults.silent.insert(*command);
        } else if (name == QLatin1String("--wrong") || name == QLatin1String("--wrong-raw")) {
            const auto assignment = commandAssignment(value, &error);
            if (!assignment)
                return fail(QStringLiteral("%1: %2").arg(name, error));
            const auto bytes = parseBytesArgument(assignment->second, &error);
            if (!bytes)
                return fail(QStringLiteral("%1: %2").arg(name, error));
            o.faults.wrong.insert(assignment->first, WrongReply{*bytes, name == QLatin1String("--wrong")});
        } else if (name == QLatin1String("--delay")) {
            const auto ms = boundedInt(value, 0, 600000);
            if (!ms)
                return fail(QStringLiteral("--delay wants milliseconds from 0 to 600000, got \"%1\"").arg(value));
            o.faults.delayMs = *ms;
        } else if (name == QLatin1String("--chunk")) {
            const auto n = boundedInt(value, 1, 65536);
            if (!n)
                return fail(QStringLiteral("--chunk wants a piece size from 1 to 65536, got \"%1\"").arg(value));
            o.faults.chunkSize = *n;
        } else if (name == QLatin1String("--chunk-gap")) {
            const auto ms = boundedInt(value, 0, 60000);
            if (!ms)
                return fail(QStringLiteral("--chunk-gap wants milliseconds from 0 to 60000, got \"%1\"").arg(value));
            o.faults.chunkGapMs = *ms;
        } else if (name == QLatin1String("--store-changed")) {
            const qsizetype sign = value.indexOf(QLatin1Char('='));
            const auto pos = boundedInt(value.left(sign), 0, 65535);
            const auto byte = sign < 0 ? std::nullopt : parseHexBytes(value.mid(sign + 1), &error);
            if (!pos || !byte || byte->size() != 1)
                return fail(QStringLiteral("--store-changed wants POS=HEX with one byte, got \"%1\"").arg(value));
            o.faults.storeChangedAt = *pos;
            o.faults.storeChangedByte = byte->at(0);
        } else if (name == QLatin1String("--junk")) {
            const auto junk = parseHexBytes(value, &error);
            if (!junk)
                return fail(QStringLiteral("--junk: %1").arg(error));
            o.faults.junk = *junk;
        }
    }
    if (cl.unplugIdleMs > 0 && cl.linkPath.isEmpty())
        return fail(QStringLiteral("--unplug-idle needs --link PATH"));
    if (!seedGiven)
        o.walkSeed = std::random_device{}();
    return cl;
}

} // namespace zarven::sim
