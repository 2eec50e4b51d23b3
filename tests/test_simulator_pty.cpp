// The real zarven4-sim executable on its pseudo-terminal, talked to through
// plain descriptors opened the way the tool opens a serial port: exclusively
// (flock and TIOCEXCL), only around each exchange.

#include "default_state.h"
#include "packet_frame.h"
#include "sim_process.h"

#include "serial/framer.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

using namespace zarven;
using namespace zarven::test;

namespace {

// The device opened as the tool opens a port; closed by the destructor,
// clearing the exclusive flag first as a well-behaved opener must (a
// pseudo-terminal keeps the flag while its master lives).
class ToolSide {
public:
    explicit ToolSide(const QString &path)
    {
        fd_ = ::open(QFile::encodeName(path).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        if (fd_ < 0) {
            error_ = errno;
            return;
        }
        if (::flock(fd_, LOCK_EX | LOCK_NB) != 0 || ::ioctl(fd_, TIOCEXCL) != 0) {
            error_ = errno;
            ::close(fd_);
            fd_ = -1;
        }
        framer_.setStartString(kPacketStart);
        framer_.setStopString(kPacketStop);
        framer_.setOnPacket([this](const QByteArray &p) { packets_ << p; });
    }
    ~ToolSide() { close(); }

    void close()
    {
        if (fd_ < 0)
            return;
        ::ioctl(fd_, TIOCNXCL);
        ::close(fd_);
        fd_ = -1;
    }

    bool isOpen() const { return fd_ >= 0; }
    int error() const { return error_; }
    int fd() const { return fd_; }

    void send(const QByteArray &bytes) const
    {
        QCOMPARE(::write(fd_, bytes.constData(), size_t(bytes.size())), ssize_t(bytes.size()));
    }

    // Reads until `count` packets have come or the time is up; returns the
    // packets' contents.
    QList<QByteArray> packets(int count, int timeoutMs = 3000)
    {
        QElapsedTimer clock;
        clock.start();
        while (packets_.size() < count && clock.elapsed() < timeoutMs)
            readFor(int(timeoutMs - clock.elapsed()));
        return std::exchange(packets_, {});
    }

    QByteArray exchange(const QByteArray &command, int timeoutMs = 3000)
    {
        send(framed(command));
        const QList<QByteArray> got = packets(1, timeoutMs);
        return got.isEmpty() ? QByteArray("<no reply>") : got.first();
    }

    // Everything that arrives within the time, raw; stops early once
    // `enough` bytes have come.
    QByteArray rawFor(int ms, qsizetype enough = -1)
    {
        QElapsedTimer clock;
        clock.start();
        QByteArray all;
        while (clock.elapsed() < ms && (enough < 0 || all.size() < enough))
            all += readFor(int(ms - clock.elapsed()), false);
        return all;
    }

    int reads() const { return reads_; }

private:
    QByteArray readFor(int ms, bool feed = true)
    {
        pollfd p{fd_, POLLIN, 0};
        if (::poll(&p, 1, qMax(ms, 0)) <= 0)
            return {};
        char buffer[1024];
        const ssize_t n = ::read(fd_, buffer, sizeof buffer);
        if (n <= 0)
            return {};
        ++reads_;
        const QByteArray chunk(buffer, qsizetype(n));
        if (feed)
            framer_.FeedBytes(chunk);
        return chunk;
    }

    int fd_ = -1;
    int error_ = 0;
    int reads_ = 0;
    PacketFramer framer_;
    QList<QByteArray> packets_;
};

qint64 cpuTicks(qint64 pid)
{
    QFile f(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray text = f.readAll();
    // Fields after the command name, which is in parentheses and may hold
    // blanks: state is field 3, utime 14 and stime 15.
    const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
    return fields.value(11).toLongLong() + fields.value(12).toLongLong();
}

} // namespace

class SimulatorPtyTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { dropExclusiveOverride(); }
    void everyCommandIsAnsweredOverTheDevice();
    void deviceIsRawForItsOpener();
    void reopenedManyTimesItStillAnswers();
    void simulatorHoldsNoDescriptorOfTheDevice();
    void closedDeviceDoesNotMakeItSpin();
    void replyForAClosedDeviceIsNotLeftForTheNextOpener();
    void delayedReplyInPiecesArrivesWhole();
    void repliesComeAtTheLinesPace();
    void dropAfterHangsUpTheDeviceAndEnds();
    void stateSurvivesARestart();
    void linkPointsToTheDeviceAndGoesAtExit();
    void seriesPlugsFreshControllersOneAfterAnother();
    void badCommandLineEndsWithAMessage();
    void unreadableStateFileStopsTheStart();
};

void SimulatorPtyTest::everyCommandIsAnsweredOverTheDevice()
{
    SimProcess sim;
    QVERIFY2(sim.isRunning(), qPrintable(sim.errorText()));
    ToolSide port(sim.devicePath());
    QVERIFY2(port.isOpen(), strerror(port.error()));

    QCOMPARE(port.exchange("Tt"), QByteArray("T6 v2.14"));
    QCOMPARE(port.exchange("Sg"), QByteArray("+CSQ: 17,0"));
    QCOMPARE(port.exchange("Kr"), QByteArray::fromHex("015A3C1E0B000095"));
    QCOMPARE(port.exchange("Cn"), sim::defaultKeyTable());
    QCOMPARE(port.exchange("Pt").size(), 128);

    // Every byte value but the markers', zero included, goes both ways.
    QByteArray image("\x01\r110", 5);
    for (int b = 0; b < 256; ++b)
        if (b != 0xFE && b != 0xFF)
            image += char(b);
    QCOMPARE(port.exchange(QByteArray("\x99\x99", 2) + image), QByteArray("COK"));
    QCOMPARE(port.exchange("Pt"), image);

    QCOMPARE(port.exchange("Wr"), QByteArray("OK"));
    QCOMPARE(port.exchange(someKeyTable()), QByteArray("Ok"));
    QCOMPARE(port.exchange("Cn"), someKeyTable());

    port.send(framed("Ur"));
    QVERIFY(port.packets(1, 300).isEmpty());
}

void SimulatorPtyTest::deviceIsRawForItsOpener()
{
    SimProcess sim;
    QVERIFY2(sim.isRunning(), qPrintable(sim.errorText()));
    ToolSide port(sim.devicePath());
    QVERIFY(port.isOpen());
    termios tio{};
    QCOMPARE(::tcgetattr(port.fd(), &tio), 0);
    QCOMPARE(tio.c_lflag & (ICANON | ECHO | ECHONL | ISIG | IEXTEN), tcflag_t(0));
    QCOMPARE(tio.c_iflag & (ICRNL | INLCR | IGNCR | ISTRIP | IXON), tcflag_t(0));
    QCOMPARE(tio.c_oflag & OPOST, tcflag_t(0));
    QCOMPARE(tio.c_cflag & CSIZE, tcflag_t(CS8));
    // Nothing the tool sends comes back to it as an echo.
    port.send(QByteArray("\r\n\x00\x03\x7F", 5));
    QCOMPARE(port.rawFor(200), QByteArray());
}

void SimulatorPtyTest::reopenedManyTimesItStillAnswers()
{
    SimProcess sim;
    QVERIFY2(sim.isRunning(), qPrintable(sim.errorText()));
    for (int round = 0; round < 15; ++round) {
        ToolSide port(sim.devicePath());
        QVERIFY2(port.isOpen(), qPrintable(QStringLiteral("round %1: %2").arg(round).arg(strerror(port.error()))));
        // While the tool has it, the device is its alone.
        ToolSide intruder(sim.devicePath());
        QVERIFY(!intruder.isOpen());
        QCOMPARE(port.exchange("Tt"), QByteArray("T6 v2.14"));
        port.close();
        // Closed for a while, as between exchanges, or reopened at once.
        if (round % 3 == 0)
            QTest::qWait(60);
    }
}

void SimulatorPtyTest::simulatorHoldsNoDescriptorOfTheDevice()
{
    SimProcess sim;
    QVERIFY2(sim.isRunning(), qPrintable(sim.errorText()));
    {
        ToolSide port(sim.devicePath());
        QCOMPARE(port.exchange("Tt"), QByteArray("T6 v2.14"));
    }
    const QString device = QFileInfo(sim.devicePath()).canonicalFilePath();
    const QDir fds(QStringLiteral("/proc/%1/fd").arg(sim.processId()));
    const QStringList entries = fds.entryList(QDir::NoDotAndDotDot | QDir::System | QDir::Files);
    QVERIFY(!entries.isEmpty());
    for (const QString &e : entries)
        QVERIFY2(QFileInfo(fds.filePath(e)).symLinkTarget() != device, qPrintable(e));
}

void SimulatorPtyTest::closedDeviceDoesNotMakeItSpin()
{
    SimProcess sim;
    QVERIFY2(sim.isRunning(), qPrintable(sim.errorText()));
    {
        ToolSide port(sim.devicePath());
        QCOMPARE(port.exchange("Tt"), QByteArray("T6 v2.14"));
    }
    // Nobody has the device open now; reading its master fails with EIO.
    const qint64 before = cpuTicks(sim.processId());
    QTest::qWait(1000);
    const qint64 used = cpuTicks(sim.processId()) - before;
    QVERIFY2(before >= 0 && used < 20, qPrintable(QStringLiteral("%1 ticks in a second").arg(used)));
    ToolSide again(sim.devicePath());
    QCOMPARE(again.exchange("Tt"), QByteArray("T6 v2.14"));
}

void SimulatorPtyTest::replyForAClosedDeviceIsNotLeftForTheNextOpener()
{
    SimProcess sim({"--delay", "300"});
    QVERIFY2(sim.isRunning(), qPrintable(sim.errorText()));
    {
        ToolSide port(sim.devicePath());
        port.send(framed("Sg"));
        QTest::qWait(50);
    }
    QTest::qWait(500);
    ToolSide next(sim.devicePath());
    QCOMPARE(next.rawFor(200), QByteArray());
    QCOMPARE(next.exchange("Tt"), QByteArray("T6 v2.14"));
}

// 38400 bit/s, 8N1: 260 us a byte. The 6-byte "Cn" reaches the simulator,
// and the 254-byte table comes back, no faster than the wire carries them.
void SimulatorPtyTest::repliesComeAtTheLinesPace()
{
    SimProcess sim({"--baud", "38400"});
    QVERIFY2(sim.isRunning(), qPrintable(sim.errorText()));
    ToolSide port(sim.devicePath());
    QVERIFY2(port.isOpen(), strerror(port.error()));
    const QByteArray expected = framed(sim::defaultKeyTable());
    QElapsedTimer clock;
    clock.start();
    port.send(framed("Cn"));
    const QByteArray got = port.rawFor(3000, expected.size());
    const qint64 us = clock.nsecsElapsed() / 1000;
    QCOMPARE(got, expected);
    const qint64 wireUs = (6 + expected.size()) * 10'000'000LL / 38400;
    QVERIFY2(us >= wireUs, qPrintable(QStringLiteral("%1 us, wire %2 us").arg(us).arg(wireUs)));
    QVERIFY2(us < wireUs + 500'000, qPrintable(QString::number(us)));
    // Trickled, as from a UART, not in one piece.
    QVERIFY2(port.reads() > 10, qPrintable(QString::number(port.reads())));
}

void SimulatorPtyTest::dropAfterHangsUpTheDeviceAndEnds()
{
    SimProcess sim({"--drop-after", "Pt"});
    QVERIFY2(sim.isRunning(), qPrintable(sim.errorText()));
    ToolSide port(sim.devicePath());
    QVERIFY2(port.isOpen(), strerror(port.error()));
    QCOMPARE(port.exchange("Tt"), QByteArray("T6 v2.14"));
    port.send(framed("Pt"));
    pollfd p{port.fd(), POLLIN, 0};
    QCOMPARE(::poll(&p, 1, 2000), 1);
    QVERIFY(p.revents & POLLHUP);
    char byte;
    QVERIFY(::read(port.fd(), &byte, 1) <= 0);
    port.close();
    // The adapter is gone: no device, and the simulator has ended.
    QTRY_VERIFY(!QFileInfo::exists(sim.devicePath()));
    QTRY_VERIFY(!sim.isRunning());
    QCOMPARE(sim.stop(), 0);
}

void SimulatorPtyTest::delayedReplyInPiecesArrivesWhole()
{
    SimProcess sim({"--delay", "150", "--chunk", "3", "--chunk-gap", "30", "--junk", "00 31 FE"});
    QVERIFY2(sim.isRunning(), qPrintable(sim.errorText()));
    ToolSide port(sim.devicePath());
    QElapsedTimer clock;
    clock.start();
    port.send(framed("Sg"));
    // 3 junk bytes and a 14-byte packet: six pieces, the first after 150 ms.
    QCOMPARE(port.rawFor(120), QByteArray());
    const QByteArray expected = QByteArray("\x00\x31\xFE", 3) + framed("+CSQ: 17,0");
    QCOMPARE(port.rawFor(5000, expected.size()), expected);
    QVERIFY2(clock.elapsed() >= 150 + 5 * 30, qPrintable(QString::number(clock.elapsed())));
    QVERIFY2(port.reads() >= 2, qPrintable(QString::number(port.reads())));
}

void SimulatorPtyTest::stateSurvivesARestart()
{
    QTemporaryDir dir;
    const QString state = dir.filePath(QStringLiteral("controller.state"));
    const QByteArray image("$\x10\x20" "1001\r", 8);
    {
        SimProcess first({"--state", state});
        QVERIFY2(first.isRunning(), qPrintable(first.errorText()));
        ToolSide port(first.devicePath());
        QCOMPARE(port.exchange(QByteArray("\x99\x99", 2) + image), QByteArray("COK"));
        QCOMPARE(port.exchange("Wr"), QByteArray("OK"));
        QCOMPARE(port.exchange(someKeyTable()), QByteArray("Ok"));
        port.close();
        QCOMPARE(first.stop(), 0);
    }
    SimProcess second({"--state", state});
    QVERIFY2(second.isRunning(), qPrintable(second.errorText()));
    ToolSide port(second.devicePath());
    QCOMPARE(port.exchange("Pt"), image);
    QCOMPARE(port.exchange("Cn"), someKeyTable());
}

void SimulatorPtyTest::linkPointsToTheDeviceAndGoesAtExit()
{
    QTemporaryDir dir;
    const QString link = dir.filePath(QStringLiteral("zarven-port"));
    SimProcess sim({"--link", link});
    QVERIFY2(sim.isRunning(), qPrintable(sim.errorText()));
    QVERIFY(QFileInfo(link).isSymLink());
    QCOMPARE(QFileInfo(link).symLinkTarget(), sim.devicePath());
    {
        ToolSide port(link);
        QCOMPARE(port.exchange("Tt"), QByteArray("T6 v2.14"));
    }
    QCOMPARE(sim.stop(), 0);
    QVERIFY(!QFileInfo(link).isSymLink());

    // A file of the user's at the link's place is not overwritten.
    const QString taken = dir.filePath(QStringLiteral("taken"));
    QFile f(taken);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("mine");
    f.close();
    SimProcess refused({"--link", taken}, 3000);
    QVERIFY(!refused.isRunning());
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray("mine"));
}

void SimulatorPtyTest::seriesPlugsFreshControllersOneAfterAnother()
{
    QTemporaryDir dir;
    const QString link = dir.filePath(QStringLiteral("bench"));
    SimProcess sim({"--link", link, "--unplug-idle", "200", "--replug", "100", "--units", "3", "--faulty-unit", "2",
                    "--wrong", "Tt=text:T5"});
    QVERIFY2(sim.isRunning(), qPrintable(sim.errorText()));
    auto waitForLink = [&link](bool present) {
        QElapsedTimer clock;
        clock.start();
        while (QFileInfo(link).isSymLink() != present && clock.elapsed() < 3000)
            QTest::qWait(10);
        return QFileInfo(link).isSymLink() == present;
    };
    // Identification alone never unplugs it; a settings write, then quiet, does.
    const QString first = QFileInfo(link).symLinkTarget();
    {
        ToolSide port(link);
        QCOMPARE(port.exchange("Tt"), QByteArray("T6 v2.14"));
        QTest::qWait(300);
        QVERIFY(QFileInfo(link).isSymLink());
        QCOMPARE(port.exchange(QByteArray("\x99\x99") + zarven::sim::defaultSettingsImage(QDateTime::currentDateTime())),
                 QByteArray("COK"));
    }
    QVERIFY(waitForLink(false));
    QVERIFY(!QFileInfo::exists(first));
    // The next controller, on a fresh terminal (the kernel may give it the
    // same number), plays the faults.
    QVERIFY(waitForLink(true));
    {
        ToolSide port(link);
        QCOMPARE(port.exchange("Tt"), QByteArray("T5"));
    }
    // SIGUSR1 unplugs at once and plugs the third, which is sound again.
    ::kill(pid_t(sim.processId()), SIGUSR1);
    QVERIFY(waitForLink(false));
    ::kill(pid_t(sim.processId()), SIGUSR1);
    QVERIFY(waitForLink(true));
    {
        ToolSide port(link);
        QCOMPARE(port.exchange("Tt"), QByteArray("T6 v2.14"));
    }
    // After the last one the simulator ends.
    ::kill(pid_t(sim.processId()), SIGUSR1);
    QVERIFY(waitForLink(false));
    QTRY_VERIFY_WITH_TIMEOUT(!sim.isRunning(), 3000);
}

void SimulatorPtyTest::badCommandLineEndsWithAMessage()
{
    QProcess p;
    p.start(SimProcess::binaryPath(), {"--csq", "abc"});
    QVERIFY(p.waitForFinished(5000));
    QCOMPARE(p.exitCode(), 2);
    QVERIFY(p.readAllStandardOutput().isEmpty());
    const QByteArray err = p.readAllStandardError();
    QVERIFY2(err.contains("--csq") && err.contains("Usage"), err.constData());

    p.start(SimProcess::binaryPath(), {"--help"});
    QVERIFY(p.waitForFinished(5000));
    QCOMPARE(p.exitCode(), 0);
    QVERIFY(p.readAllStandardOutput().contains("--wrong"));
}

void SimulatorPtyTest::unreadableStateFileStopsTheStart()
{
    QTemporaryDir dir;
    const QString state = dir.filePath(QStringLiteral("broken.state"));
    QFile f(state);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("zarven4-sim state 1\nkeys 01 02\n");
    f.close();

    QProcess p;
    p.start(SimProcess::binaryPath(), {"--state", state});
    QVERIFY(p.waitForFinished(5000));
    QCOMPARE(p.exitCode(), 1);
    QVERIFY(p.readAllStandardOutput().isEmpty());
    const QByteArray err = p.readAllStandardError();
    QVERIFY2(err.contains(QFile::encodeName(state)) && err.contains("line 2"), err.constData());
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray("zarven4-sim state 1\nkeys 01 02\n"));
}

QTEST_GUILESS_MAIN(SimulatorPtyTest)
#include "test_simulator_pty.moc"
