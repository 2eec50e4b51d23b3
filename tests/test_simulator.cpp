// The simulated controller in-process: every command's reply byte for byte,
// write and read-back of settings and keys, the state file across instances,
// every fault option, and the command line.

#include "controller_simulator.h"
#include "default_state.h"
#include "packet_frame.h"
#include "sim_command_line.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace zarven;
using namespace zarven::sim;
using namespace zarven::test;

namespace {

// The moment the default image's date-time record is taken from.
QDateTime fixedClock()
{
    return QDateTime(QDate(2025, 12, 8), QTime(9, 5, 7));
}

QByteArray goldenDefaultImage()
{
    QFile f(QStringLiteral(ZARVEN_TEST_DATA "/sim_default_image.bin"));
    if (!f.open(QIODevice::ReadOnly))
        qFatal("golden file sim_default_image.bin missing");
    return f.readAll();
}

// A settings image with every byte value except the markers' pairs, zero
// bytes included.
QByteArray anyImage()
{
    QByteArray image("\x01Door\r210", 8);
    image += QByteArray("\x00\x96\xFF\xDC\x00\x00\x00\x01", 8);
    for (int b = 0; b < 256; ++b)
        if (b != 0xFE && b != 0xFF)
            image += char(b);
    return image;
}

QByteArray anyKeyTable()
{
    QByteArray table;
    for (int k = 0; k < kKeyCount; ++k)
        table += keyRecord("Key " + QByteArray::number(k + 1),
                           QByteArray::fromHex("01234567") + char(k) + QByteArray("\x00\x0A\xFD", 3));
    return table;
}

QByteArray replyTo(ControllerSimulator &sim, const QByteArray &content)
{
    return ControllerSimulator::joined(sim.receive(framed(content)));
}

SimulatorOptions withState(const QString &path)
{
    SimulatorOptions o;
    o.statePath = path;
    return o;
}

} // namespace

class SimulatorTest : public QObject {
    Q_OBJECT
private slots:
    void eachCommandIsAnsweredWithItsReply_data();
    void eachCommandIsAnsweredWithItsReply();
    void unknownAndNearMissCommandsGetNoReply();
    void defaultImageIsTheStartedWindowsImage();
    void settingsWriteIsStoredAndReadBack();
    void keyTableWriteIsStoredAndReadBack();
    void keyTableOfWrongSizeIsRefusedAndKept();
    void commandAfterWrEndsTheWaitForTheTable();
    void cancelAfterWrEndsTheWaitForTheTable();
    void keyTableGoesOutInTheConfiguredPackets();
    void repliesDoNotDependOnHowTheStreamIsSplit();
    void stateSurvivesIntoASecondInstance();
    void stateFileIsWrittenAfterEachChange();
    void unreadableStateFileIsRefusedAndLeftAlone();
    void everyPrefixOfAStateFileLoadsOrIsRefused();
    void failedStateSaveIsReportedAndServingGoesOn();
    void silentCommandIsNeitherAnsweredNorCarriedOut();
    void wrongReplyReplacesTheReplyAndNothingIsDone();
    void rawWrongReplyGoesOutUnframed();
    void delayComesBeforeTheFirstPieceOfEachReply();
    void repliesAreCutIntoPiecesWithGaps();
    void junkPrecedesEveryReplyPacket();
    void commandLineSetsEveryOption();
    void commandLineRefusesBadValues_data();
    void commandLineRefusesBadValues();
};

void SimulatorTest::eachCommandIsAnsweredWithItsReply_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QByteArray>("command");
    QTest::addColumn<QByteArray>("reply");

    QTest::newRow("Tt default model") << QStringList{} << QByteArray("Tt") << framed("T6 v2.14");
    QTest::newRow("Tt sibling model") << QStringList{"--model", "V5"} << QByteArray("Tt") << framed("V5");
    QTest::newRow("Tt bare T6") << QStringList{"--model", "T6"} << QByteArray("Tt") << framed("T6");
    QTest::newRow("Kr default code") << QStringList{} << QByteArray("Kr")
                                     << framed(QByteArray::fromHex("015A3C1E0B000095"));
    QTest::newRow("Kr short code") << QStringList{"--key-code", "0A 01 02"} << QByteArray("Kr")
                                   << framed(QByteArray::fromHex("0A0102"));
    QTest::newRow("Sg default level") << QStringList{} << QByteArray("Sg") << framed("+CSQ: 17,0");
    QTest::newRow("Sg one-digit level") << QStringList{"--csq", "5"} << QByteArray("Sg") << framed("+CSQ: 5,0");
    QTest::newRow("Sg unknown level") << QStringList{"--csq-reply", "+CSQ: 99,99"} << QByteArray("Sg")
                                      << framed("+CSQ: 99,99");
    QTest::newRow("Sg marker mid-reply") << QStringList{"--csq-reply", "OK +CSQ: 17"} << QByteArray("Sg")
                                         << framed("OK +CSQ: 17");
    QTest::newRow("Cn default table") << QStringList{} << QByteArray("Cn") << framed(defaultKeyTable());
    QTest::newRow("Wr ready") << QStringList{} << QByteArray("Wr") << framed("OK");
    QTest::newRow("write confirms") << QStringList{} << QByteArray("\x99\x99\x01\r110", 7) << framed("COK");
    QTest::newRow("Ur silent by nature") << QStringList{} << QByteArray("Ur") << QByteArray();
}

void SimulatorTest::eachCommandIsAnsweredWithItsReply()
{
    QFETCH(QStringList, args);
    QFETCH(QByteArray, command);
    QFETCH(QByteArray, reply);
    const SimCommandLine cl = parseSimCommandLine(args);
    QCOMPARE(cl.action, SimCommandLine::Action::Run);
    ControllerSimulator sim(cl.options, fixedClock());
    QCOMPARE(replyTo(sim, command), reply);
}

void SimulatorTest::unknownAndNearMissCommandsGetNoReply()
{
    ControllerSimulator sim(SimulatorOptions{}, fixedClock());
    for (const QByteArray &c : {QByteArray("Xx"), QByteArray(), QByteArray("tt"), QByteArray("Tt "),
                                QByteArray("TtTt"), QByteArray("\x99", 1), QByteArray("Ok")})
        QVERIFY2(sim.receive(framed(c)).isEmpty(), c.toHex().constData());
    // Bytes outside any packet are no command either.
    QVERIFY(sim.receive("Tt").isEmpty());
    // And none of this left the controller in a state that spoils the next
    // real command.
    QCOMPARE(replyTo(sim, "Tt"), framed("T6 v2.14"));
}

void SimulatorTest::defaultImageIsTheStartedWindowsImage()
{
    ControllerSimulator sim(SimulatorOptions{}, fixedClock());
    QCOMPARE(replyTo(sim, "Pt"), framed(goldenDefaultImage()));
    // Nothing in it may look like a marker to the tool's framer.
    QVERIFY(!goldenDefaultImage().contains(kPacketStop));
    QVERIFY(!goldenDefaultImage().contains(kPacketStart));
}

void SimulatorTest::settingsWriteIsStoredAndReadBack()
{
    ControllerSimulator sim(SimulatorOptions{}, fixedClock());
    QCOMPARE(replyTo(sim, QByteArray("\x99\x99", 2) + anyImage()), framed("COK"));
    QCOMPARE(replyTo(sim, "Pt"), framed(anyImage()));
    // A later write replaces the image entirely, also with a shorter one.
    QCOMPARE(replyTo(sim, QByteArray("\x99\x99$\x05\x07", 5) + "1010\r"), framed("COK"));
    QCOMPARE(replyTo(sim, "Pt"), framed(QByteArray("$\x05\x07", 3) + "1010\r"));
    // A write of nothing but the command leaves an empty image.
    QCOMPARE(replyTo(sim, QByteArray("\x99\x99", 2)), framed("COK"));
    QCOMPARE(replyTo(sim, "Pt"), framed(QByteArray()));
}

void SimulatorTest::keyTableWriteIsStoredAndReadBack()
{
    ControllerSimulator sim(SimulatorOptions{}, fixedClock());
    QCOMPARE(replyTo(sim, "Wr"), framed("OK"));
    QVERIFY(sim.awaitingKeyTable());
    QCOMPARE(replyTo(sim, anyKeyTable()), framed("Ok"));
    QVERIFY(!sim.awaitingKeyTable());
    QCOMPARE(replyTo(sim, "Cn"), framed(anyKeyTable()));
    // The table is only taken after "Wr": the same bytes again are no command.
    QVERIFY(sim.receive(framed(anyKeyTable())).isEmpty());
}

void SimulatorTest::keyTableOfWrongSizeIsRefusedAndKept()
{
    ControllerSimulator sim(SimulatorOptions{}, fixedClock());
    // A table cut short (as by a stop marker inside a code) or too long is
    // not stored, and the tool hears a reply that is not "Ok".
    for (const qsizetype size : {qsizetype(0), qsizetype(1), qsizetype(249), qsizetype(251), qsizetype(275)}) {
        QCOMPARE(replyTo(sim, "Wr"), framed("OK"));
        QCOMPARE(replyTo(sim, anyKeyTable().left(size).leftJustified(size, 'x')), framed("Er"));
        QVERIFY(!sim.awaitingKeyTable());
        QCOMPARE(sim.state().keyTable, defaultKeyTable());
    }
}

void SimulatorTest::commandAfterWrEndsTheWaitForTheTable()
{
    ControllerSimulator sim(SimulatorOptions{}, fixedClock());
    QCOMPARE(replyTo(sim, "Wr"), framed("OK"));
    // The tool gave up on the write and identifies again.
    QCOMPARE(replyTo(sim, "Tt"), framed("T6 v2.14"));
    QVERIFY(!sim.awaitingKeyTable());
    QCOMPARE(replyTo(sim, "Cn"), framed(defaultKeyTable()));
}

void SimulatorTest::cancelAfterWrEndsTheWaitForTheTable()
{
    ControllerSimulator sim(SimulatorOptions{}, fixedClock());
    QCOMPARE(replyTo(sim, "Wr"), framed("OK"));
    QVERIFY(sim.receive(framed("Ur")).isEmpty());
    QVERIFY(!sim.awaitingKeyTable());
    QVERIFY(sim.receive(framed(anyKeyTable())).isEmpty());
    QCOMPARE(sim.state().keyTable, defaultKeyTable());
}

void SimulatorTest::keyTableGoesOutInTheConfiguredPackets()
{
    SimulatorOptions o;
    o.keyTablePackets = 3;
    ControllerSimulator sim(o, fixedClock());
    sim.receive(framed("Wr"));
    sim.receive(framed(anyKeyTable()));
    const QByteArray t = anyKeyTable();
    // Four, four and two records: records are never split.
    QCOMPARE(replyTo(sim, "Cn"), framed(t.left(100)) + framed(t.mid(100, 100)) + framed(t.mid(200)));

    o.keyTablePackets = 10;
    ControllerSimulator perRecord(o, fixedClock());
    QByteArray expected;
    for (int k = 0; k < kKeyCount; ++k)
        expected += framed(defaultKeyTable().mid(k * kKeyRecordSize, kKeyRecordSize));
    QCOMPARE(replyTo(perRecord, "Cn"), expected);
}

void SimulatorTest::repliesDoNotDependOnHowTheStreamIsSplit()
{
    // A session as the tool runs it, with line noise between packets.
    const QByteArray stream = QByteArray("\x00\x13", 2) + framed("Tt") + framed(QByteArray("\x99\x99", 2) + anyImage())
        + "noise" + framed("Pt") + framed("Wr") + framed(anyKeyTable()) + framed("Cn") + framed("Kr")
        + framed("Ur") + framed("Sg");

    ControllerSimulator whole(SimulatorOptions{}, fixedClock());
    const QByteArray expected = ControllerSimulator::joined(whole.receive(stream));
    QCOMPARE(expected, framed("T6 v2.14") + framed("COK") + framed(anyImage()) + framed("OK") + framed("Ok")
                           + framed(anyKeyTable()) + framed(QByteArray::fromHex("015A3C1E0B000095"))
                           + framed("+CSQ: 17,0"));

    for (qsizetype cut = 1; cut < stream.size(); ++cut) {
        ControllerSimulator sim(SimulatorOptions{}, fixedClock());
        QByteArray got = ControllerSimulator::joined(sim.receive(stream.left(cut)));
        got += ControllerSimulator::joined(sim.receive(stream.mid(cut)));
        QVERIFY2(got == expected, qPrintable(QStringLiteral("split at %1").arg(cut)));
    }

    ControllerSimulator bytewise(SimulatorOptions{}, fixedClock());
    QByteArray got;
    for (char b : stream)
        got += ControllerSimulator::joined(bytewise.receive(QByteArray(1, b)));
    QCOMPARE(got, expected);
}

void SimulatorTest::stateSurvivesIntoASecondInstance()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("sim.state"));
    {
        ControllerSimulator first(withState(path), fixedClock());
        first.receive(framed(QByteArray("\x99\x99", 2) + anyImage()));
        first.receive(framed("Wr"));
        first.receive(framed(anyKeyTable()));
    }
    ControllerSimulator second(withState(path), fixedClock().addDays(3));
    QCOMPARE(replyTo(second, "Pt"), framed(anyImage()));
    QCOMPARE(replyTo(second, "Cn"), framed(anyKeyTable()));
}

void SimulatorTest::stateFileIsWrittenAfterEachChange()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("sim.state"));
    ControllerSimulator sim(withState(path), fixedClock());
    // Reading changes nothing and writes nothing.
    sim.receive(framed("Pt") + framed("Cn") + framed("Tt"));
    QVERIFY(!QFile::exists(path));

    sim.receive(framed(QByteArray("\x99\x99", 2) + anyImage()));
    QCOMPARE(ControllerState::load(path, fixedClock()).settingsImage, anyImage());
    QCOMPARE(ControllerState::load(path, fixedClock()).keyTable, defaultKeyTable());

    sim.receive(framed("Wr") + framed(anyKeyTable()));
    QCOMPARE(ControllerState::load(path, fixedClock()).keyTable, anyKeyTable());
}

void SimulatorTest::unreadableStateFileIsRefusedAndLeftAlone()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("sim.state"));
    const QList<QByteArray> bad = {
        "",
        "not a state file\n",
        "zarven4-sim state 1\nimage 0G\n",
        "zarven4-sim state 1\nimage 0\n",
        "zarven4-sim state 1\nkeys 00 01\n",
        "zarven4-sim state 1\ncolour red\n",
    };
    for (const QByteArray &text : bad) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(text);
        f.close();
        try {
            ControllerSimulator sim(withState(path), fixedClock());
            QFAIL(qPrintable(QStringLiteral("accepted: %1").arg(QString::fromLatin1(text))));
        } catch (const FileError &e) {
            QVERIFY2(e.message().contains(path), qPrintable(e.message()));
        }
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), text);
    }

    // Comments, blank lines and a missing entry are fine: that part keeps
    // its default.
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write("# written by hand\n\nzarven4-sim state 1\r\nimage 24 00 00 30 30 30 30 0d\r\n");
    f.close();
    const ControllerState s = ControllerState::load(path, fixedClock());
    QCOMPARE(s.settingsImage, QByteArray("$\x00\x00" "0000\r", 8));
    QCOMPARE(s.keyTable, defaultKeyTable());
}

void SimulatorTest::everyPrefixOfAStateFileLoadsOrIsRefused()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("sim.state"));
    const QByteArray full = ControllerState{anyImage(), anyKeyTable()}.toFileText();
    QFile f(path);
    for (qsizetype n = 0; n < full.size(); ++n) {
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(full.left(n));
        f.close();
        try {
            const ControllerState s = ControllerState::load(path, fixedClock());
            // A prefix that loads ends at a byte boundary of the image or
            // before the key table, never with a part-table.
            QCOMPARE(s.keyTable.size(), qsizetype(kKeyTableSize));
        } catch (const FileError &) {
        }
    }
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(full);
    f.close();
    QCOMPARE(ControllerState::load(path, fixedClock()), (ControllerState{anyImage(), anyKeyTable()}));
}

void SimulatorTest::failedStateSaveIsReportedAndServingGoesOn()
{
    QTemporaryDir dir;
    // A state file in a folder that does not exist cannot be written.
    const QString path = dir.filePath(QStringLiteral("no-such-folder/sim.state"));
    ControllerSimulator sim(withState(path), fixedClock());
    QStringList errors;
    sim.setErrorReporter([&errors](const QString &line) { errors << line; });
    QCOMPARE(replyTo(sim, QByteArray("\x99\x99", 2) + anyImage()), framed("COK"));
    QCOMPARE(errors.size(), 1);
    QVERIFY2(errors.first().contains(path), qPrintable(errors.first()));
    QCOMPARE(replyTo(sim, "Pt"), framed(anyImage()));
}

void SimulatorTest::silentCommandIsNeitherAnsweredNorCarriedOut()
{
    SimulatorOptions o;
    o.faults.silent = {SimCommand::WriteSettings, SimCommand::PrepareKeyWrite, SimCommand::Identify};
    ControllerSimulator sim(o, fixedClock());
    QVERIFY(sim.receive(framed("Tt")).isEmpty());
    QVERIFY(sim.receive(framed(QByteArray("\x99\x99", 2) + anyImage())).isEmpty());
    QCOMPARE(replyTo(sim, "Pt"), framed(goldenDefaultImage()));
    QVERIFY(sim.receive(framed("Wr")).isEmpty());
    QVERIFY(!sim.awaitingKeyTable());
    // Other commands still work.
    QCOMPARE(replyTo(sim, "Sg"), framed("+CSQ: 17,0"));

    SimulatorOptions t;
    t.faults.silent = {SimCommand::KeyTable};
    ControllerSimulator tableSilent(t, fixedClock());
    QCOMPARE(replyTo(tableSilent, "Wr"), framed("OK"));
    QVERIFY(tableSilent.receive(framed(anyKeyTable())).isEmpty());
    QCOMPARE(tableSilent.state().keyTable, defaultKeyTable());
}

void SimulatorTest::wrongReplyReplacesTheReplyAndNothingIsDone()
{
    const SimCommandLine cl = parseSimCommandLine(
        {"--wrong", "write=text:cok", "--wrong", "Wr=text:ok", "--wrong", "Tt=", "--wrong", "table=4F 4B"});
    QCOMPARE(cl.action, SimCommandLine::Action::Run);

    ControllerSimulator sim(cl.options, fixedClock());
    QCOMPARE(replyTo(sim, QByteArray("\x99\x99", 2) + anyImage()), framed("cok"));
    QCOMPARE(replyTo(sim, "Pt"), framed(goldenDefaultImage()));
    QCOMPARE(replyTo(sim, "Tt"), framed(QByteArray()));
    // A wrong answer to "Wr" is no readiness: the next packet is a command.
    QCOMPARE(replyTo(sim, "Wr"), framed("ok"));
    QVERIFY(!sim.awaitingKeyTable());

    // A wrong answer to the table: the table is not stored.
    SimulatorOptions onlyTable;
    onlyTable.faults.wrong.insert(SimCommand::KeyTable, WrongReply{"OK", true});
    ControllerSimulator third(onlyTable, fixedClock());
    QCOMPARE(replyTo(third, "Wr"), framed("OK"));
    QCOMPARE(replyTo(third, anyKeyTable()), framed("OK"));
    QCOMPARE(third.state().keyTable, defaultKeyTable());
}

void SimulatorTest::rawWrongReplyGoesOutUnframed()
{
    const SimCommandLine cl = parseSimCommandLine({"--wrong-raw", "Pt=FE FF 01 0D", "--junk", "AA"});
    QCOMPARE(cl.action, SimCommandLine::Action::Run);
    ControllerSimulator sim(cl.options, fixedClock());
    // Exactly the given bytes: no stop marker, no junk in front.
    QCOMPARE(replyTo(sim, "Pt"), QByteArray::fromHex("FEFF010D"));
}

void SimulatorTest::delayComesBeforeTheFirstPieceOfEachReply()
{
    SimulatorOptions o;
    o.faults.delayMs = 250;
    o.keyTablePackets = 2;
    ControllerSimulator sim(o, fixedClock());
    const QList<OutgoingChunk> chunks = sim.receive(framed("Tt") + framed("Cn"));
    QCOMPARE(chunks.size(), 3);
    QCOMPARE(chunks[0], (OutgoingChunk{250, framed("T6 v2.14")}));
    QCOMPARE(chunks[1], (OutgoingChunk{250, framed(defaultKeyTable().left(125))}));
    // The second packet of the same reply follows at once.
    QCOMPARE(chunks[2], (OutgoingChunk{0, framed(defaultKeyTable().mid(125))}));
}

void SimulatorTest::repliesAreCutIntoPiecesWithGaps()
{
    SimulatorOptions o;
    o.faults.chunkSize = 5;
    o.faults.chunkGapMs = 30;
    o.faults.delayMs = 7;
    ControllerSimulator sim(o, fixedClock());
    const QList<OutgoingChunk> chunks = sim.receive(framed("Tt"));
    // FE FF "T6 v2.14" FF FE: 12 bytes in pieces of 5, 5 and 2.
    QCOMPARE(chunks.size(), 3);
    QCOMPARE(chunks[0], (OutgoingChunk{7, QByteArray("\xFE\xFFT6 ", 5)}));
    QCOMPARE(chunks[1], (OutgoingChunk{30, QByteArray("v2.14")}));
    QCOMPARE(chunks[2], (OutgoingChunk{30, kPacketStop}));

    // Cut pieces still carry the same bytes, the table included.
    ControllerSimulator again(o, fixedClock());
    const QList<OutgoingChunk> table = again.receive(framed("Cn"));
    QCOMPARE(table.size(), 51);
    for (const OutgoingChunk &c : table)
        QVERIFY(c.bytes.size() <= 5);
    QCOMPARE(ControllerSimulator::joined(table), framed(defaultKeyTable()));
}

void SimulatorTest::junkPrecedesEveryReplyPacket()
{
    SimulatorOptions o;
    o.faults.junk = QByteArray("\x00\xFE\x31", 3);
    o.keyTablePackets = 2;
    ControllerSimulator sim(o, fixedClock());
    QCOMPARE(replyTo(sim, "Sg"), o.faults.junk + framed("+CSQ: 17,0"));
    QCOMPARE(replyTo(sim, "Cn"), o.faults.junk + framed(defaultKeyTable().left(125)) + o.faults.junk
                                    + framed(defaultKeyTable().mid(125)));
    // No reply, no junk.
    QVERIFY(sim.receive(framed("Ur")).isEmpty());
}

void SimulatorTest::commandLineSetsEveryOption()
{
    const SimCommandLine cl = parseSimCommandLine(
        {"--state", "/tmp/x.state", "--model=T6 1.5", "--csq", "31", "--key-code", "01:02:03:04:05:06:07:08",
         "--cn-packets", "2", "--link", "/tmp/zarven-port", "--silent", "Kr", "--silent", "9999", "--delay", "40",
         "--chunk", "3", "--chunk-gap", "12", "--junk", "00 FF", "--wrong", "Sg=text:+CSQ: 5,0", "--verbose",
         "--store-changed", "12=31", "--baud", "38400", "--drop-after", "table"});
    QCOMPARE(cl.action, SimCommandLine::Action::Run);
    const SimulatorOptions &o = cl.options;
    QCOMPARE(o.statePath, QStringLiteral("/tmp/x.state"));
    QCOMPARE(o.modelReply, QByteArray("T6 1.5"));
    QCOMPARE(o.signalReply, QByteArray("+CSQ: 31,0"));
    QCOMPARE(o.keyCode, QByteArray::fromHex("0102030405060708"));
    QCOMPARE(o.keyTablePackets, 2);
    QCOMPARE(cl.linkPath, QStringLiteral("/tmp/zarven-port"));
    QCOMPARE(o.faults.silent, (QSet<SimCommand>{SimCommand::ReadKey, SimCommand::WriteSettings}));
    QCOMPARE(o.faults.delayMs, 40);
    QCOMPARE(o.faults.chunkSize, 3);
    QCOMPARE(o.faults.chunkGapMs, 12);
    QCOMPARE(o.faults.junk, QByteArray("\x00\xFF", 2));
    QCOMPARE(o.faults.wrong.value(SimCommand::SignalLevel).bytes, QByteArray("+CSQ: 5,0"));
    QVERIFY(o.faults.wrong.value(SimCommand::SignalLevel).framed);
    QVERIFY(cl.verbose);
    QCOMPARE(o.faults.storeChangedAt, 12);
    QCOMPARE(o.faults.storeChangedByte, '1');
    QCOMPARE(o.baud, 38400);
    QCOMPARE(o.faults.dropAfter, SimCommand::KeyTable);

    // The model text crosses to bytes in code page 1251.
    QCOMPARE(parseSimCommandLine({"--model", "T6 в2"}).options.modelReply, QByteArray("T6 \xE2\x32"));
    QCOMPARE(parseSimCommandLine({"--help"}).action, SimCommandLine::Action::Help);
}

void SimulatorTest::commandLineRefusesBadValues_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("mentions");
    QTest::newRow("unknown option") << QStringList{"--colour"} << "--colour";
    QTest::newRow("missing value") << QStringList{"--delay"} << "--delay";
    QTest::newRow("level too high") << QStringList{"--csq", "100"} << "100";
    QTest::newRow("level not a number") << QStringList{"--csq", "x"} << "\"x\"";
    QTest::newRow("negative delay") << QStringList{"--delay", "-1"} << "-1";
    QTest::newRow("zero chunk") << QStringList{"--chunk", "0"} << "--chunk";
    QTest::newRow("odd key code") << QStringList{"--key-code", "ABC"} << "ABC";
    QTest::newRow("junk not hex") << QStringList{"--junk", "zz"} << "z";
    QTest::newRow("silent unknown") << QStringList{"--silent", "Qq"} << "Qq";
    QTest::newRow("silent wrong case") << QStringList{"--silent", "tt"} << "tt";
    QTest::newRow("wrong without reply") << QStringList{"--wrong", "Tt"} << "COMMAND=REPLY";
    QTest::newRow("wrong bad hex") << QStringList{"--wrong", "Tt=4"} << "odd";
    QTest::newRow("eleven packets") << QStringList{"--cn-packets", "11"} << "11";
    QTest::newRow("changed byte of two") << QStringList{"--store-changed", "3=3132"} << "3=3132";
    QTest::newRow("baud of nothing") << QStringList{"--baud", "0"} << "--baud";
    QTest::newRow("drop after unknown") << QStringList{"--drop-after", "Xx"} << "Xx";
}

void SimulatorTest::commandLineRefusesBadValues()
{
    QFETCH(QStringList, args);
    QFETCH(QString, mentions);
    const SimCommandLine cl = parseSimCommandLine(args);
    QCOMPARE(cl.action, SimCommandLine::Action::Error);
    QVERIFY2(cl.error.contains(mentions), qPrintable(cl.error));
}

QTEST_GUILESS_MAIN(SimulatorTest)
#include "test_simulator.moc"
