// The real zarven4-sim executable talked to through the program's own serial
// port and framer, the way the window's exchanges use them: open the port,
// purge, write a framed command, take the reply packets the framer cuts from
// the handed-over chunks, close the port again.

#include "default_state.h"
#include "packet_frame.h"
#include "sim_process.h"

#include "serial/comport.h"
#include "serial/framer.h"

#include <QtTest>

using namespace zarven;
using namespace zarven::test;

namespace {

// A port with its framer, as the window links them.
struct Line {
    SerialPort port;
    PacketFramer framer;
    QList<QByteArray> packets;
    int chunks = 0;

    explicit Line(const QString &device)
    {
        port.setPort(device);
        framer.setStartString(kPacketStart);
        framer.setStopString(kPacketStop);
        framer.setOnPacket([this](const QByteArray &p) { packets << p; });
        port.setReceiver([this](const QByteArray &c) {
            ++chunks;
            framer.FeedBytes(c);
        });
    }

    // The sending sequence of an exchange; waits for `count` reply packets
    // (or the time-out) with the event loop running, as the window does.
    QList<QByteArray> exchange(const QByteArray &command, int count = 1, int timeoutMs = 3000)
    {
        packets.clear();
        port.OpenPort();
        port.PurgePort();
        port.SendString(framed(command));
        static_cast<void>(QTest::qWaitFor([&] { return packets.size() >= count; }, timeoutMs));
        return std::exchange(packets, {});
    }

    QByteArray reply(const QByteArray &command)
    {
        const QList<QByteArray> got = exchange(command);
        return got.size() == 1 ? got.first() : QByteArray("<%1 packets>").replace("%1", QByteArray::number(got.size()));
    }
};

} // namespace

class SimulatorComPortTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { dropExclusiveOverride(); }
    void everyCommandIsAnsweredThroughThePort();
    void portOpenedAndClosedRepeatedlyKeepsWorking();
    void secondPortIsRefusedWhileTheFirstHoldsTheDevice();
    void keyTableInSeveralPacketsArrivesPacketByPacket();
    void piecesAndJunkStillGiveOnePacket();
    void silentAndWrongRepliesReachTheFramerAsSuch();
};

void SimulatorComPortTest::everyCommandIsAnsweredThroughThePort()
{
    SimProcess sim;
    QVERIFY2(sim.isRunning(), qPrintable(sim.errorText()));
    Line line(sim.devicePath());

    QCOMPARE(line.reply("Tt"), QByteArray("T6 v2.14"));
    QCOMPARE(line.reply("Sg"), QByteArray("+CSQ: 17,0"));
    QCOMPARE(line.reply("Kr"), QByteArray::fromHex("015A3C1E0B000095"));
    QCOMPARE(line.reply("Cn"), sim::defaultKeyTable());

    // The default image, whatever its clock says, starts with input 1's
    // record of a freshly started window and ends with the delay record.
    const QByteArray image = line.reply("Pt");
    QCOMPARE(image.size(), 128);
    QVERIFY(image.startsWith(QByteArray("\x01\r110", 5)));
    QVERIFY(image.endsWith(QByteArray("$\x00\x00" "0000\r", 8)));

    QByteArray written("\x01Porch\r311", 10);
    written += QByteArray("\x00\x00\xFF\xDC\x00\x3C\x00\x00", 8);
    written += "#1\xE2\x19" "0\x05\x14" "02" "01101100\r";
    QCOMPARE(line.reply(QByteArray("\x99\x99", 2) + written), QByteArray("COK"));
    QCOMPARE(line.reply("Pt"), written);

    QCOMPARE(line.reply("Wr"), QByteArray("OK"));
    QCOMPARE(line.reply(someKeyTable()), QByteArray("Ok"));
    QCOMPARE(line.reply("Cn"), someKeyTable());

    QVERIFY(line.exchange("Ur", 1, 400).isEmpty());
    line.port.ClosePort();
}

void SimulatorComPortTest::portOpenedAndClosedRepeatedlyKeepsWorking()
{
    SimProcess sim;
    QVERIFY2(sim.isRunning(), qPrintable(sim.errorText()));
    Line line(sim.devicePath());
    const QList<QByteArray> commands = {"Tt", "Sg", "Kr", "Pt", "Cn"};
    for (int round = 0; round < 12; ++round) {
        const QByteArray command = commands[round % commands.size()];
        const QList<QByteArray> got = line.exchange(command);
        QVERIFY2(got.size() == 1, qPrintable(QStringLiteral("round %1, %2: %3 packets")
                                                 .arg(round).arg(QString::fromLatin1(command)).arg(got.size())));
        line.port.ClosePort();
        QVERIFY(!line.port.Connected());
        // Closed for as long as the idle close keeps it shut, or not at all.
        if (round % 2 == 0)
            QTest::qWait(50);
    }
}

void SimulatorComPortTest::secondPortIsRefusedWhileTheFirstHoldsTheDevice()
{
    SimProcess sim;
    QVERIFY2(sim.isRunning(), qPrintable(sim.errorText()));
    Line first(sim.devicePath());
    Line second(sim.devicePath());
    QCOMPARE(first.reply("Tt"), QByteArray("T6 v2.14"));
    QVERIFY_THROWS_EXCEPTION(SerialPortError, second.port.OpenPort());
    QVERIFY(!second.port.Connected());
    first.port.ClosePort();
    // Once the first has let go, the second gets the device and its answers.
    QCOMPARE(second.reply("Tt"), QByteArray("T6 v2.14"));
    QVERIFY_THROWS_EXCEPTION(SerialPortError, first.port.OpenPort());
    second.port.ClosePort();
}

void SimulatorComPortTest::keyTableInSeveralPacketsArrivesPacketByPacket()
{
    SimProcess sim({"--cn-packets", "3"});
    QVERIFY2(sim.isRunning(), qPrintable(sim.errorText()));
    Line line(sim.devicePath());
    const QByteArray t = sim::defaultKeyTable();
    QCOMPARE(line.exchange("Cn", 3), (QList<QByteArray>{t.left(100), t.mid(100, 100), t.mid(200)}));
    line.port.ClosePort();
}

void SimulatorComPortTest::piecesAndJunkStillGiveOnePacket()
{
    SimProcess sim({"--chunk", "2", "--chunk-gap", "15", "--junk", "31 FE 00", "--delay", "50"});
    QVERIFY2(sim.isRunning(), qPrintable(sim.errorText()));
    Line line(sim.devicePath());
    QCOMPARE(line.reply("Sg"), QByteArray("+CSQ: 17,0"));
    // Seventeen bytes two at a time, 15 ms apart: handed over in pieces.
    QVERIFY2(line.chunks >= 2, qPrintable(QString::number(line.chunks)));
    line.port.ClosePort();
}

void SimulatorComPortTest::silentAndWrongRepliesReachTheFramerAsSuch()
{
    SimProcess sim({"--silent", "Sg", "--wrong", "write=text:COK ", "--wrong-raw", "Kr=FE FF 01 02"});
    QVERIFY2(sim.isRunning(), qPrintable(sim.errorText()));
    Line line(sim.devicePath());
    QVERIFY(line.exchange("Sg", 1, 500).isEmpty());
    QCOMPARE(line.reply(QByteArray("\x99\x99\x01\r110", 7)), QByteArray("COK "));
    // A reply without its stop marker stays unfinished in the framer.
    QVERIFY(line.exchange("Kr", 1, 500).isEmpty());
    QVERIFY(line.framer.inPacket());
    QCOMPARE(line.framer.pendingBuffer(), QByteArray::fromHex("FEFF0102"));
    line.port.ClosePort();
}

QTEST_GUILESS_MAIN(SimulatorComPortTest)
#include "test_simulator_comport.moc"
