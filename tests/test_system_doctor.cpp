// The system check on fake machines: a /sys, /dev, /proc, /etc and udev tree
// in a temporary folder, with scripted answers of systemctl and udevadm.
// Each problem must come with the command that fixes it.

#include "fake_system.h"
#include "system/doctor.h"

#include <QFile>
#include <QMap>
#include <QRegularExpression>
#include <QSet>
#include <QtTest>

#include <unistd.h>

using namespace zarven;
using namespace zarven::test;

namespace {

class FakeProbe : public SystemProbe {
public:
    explicit FakeProbe(const FakeSystem &sys) : sys_(sys) {}
    QString root() const override { return sys_.root(); }
    CommandResult run(const QString &program, const QStringList &args) const override
    {
        const QString line = program + QLatin1Char(' ') + args.join(QLatin1Char(' '));
        if (!answers.contains(line))
            return {};
        return {true, 0, answers.value(line)};
    }
    bool canOpen(const QString &devicePath) const override { return !lockedOut.contains(devicePath.mid(root().size())); }
    QString userName() const override { return QStringLiteral("installer"); }
    QStringList sessionGroups() const override { return {QStringLiteral("installer")}; }
    bool uartPresent(const QString &) const override { return false; }

    QMap<QString, QString> answers; // "udevadm info ..." -> its output
    QSet<QString> lockedOut;        // system paths this user may not open

private:
    const FakeSystem &sys_;
};

FakeUsbAdapter adapter(const char *tty, const char *vid, const char *pid, const char *driver, const char *usbPort)
{
    FakeUsbAdapter a;
    a.tty = QLatin1String(tty);
    a.vendorId = QLatin1String(vid);
    a.productId = QLatin1String(pid);
    a.driver = QLatin1String(driver);
    a.usbPort = QLatin1String(usbPort);
    a.serial = QLatin1String(usbPort);
    return a;
}

QString udevInfo(const char *device)
{
    return QStringLiteral("udevadm info --query=property --name=") + QLatin1String(device);
}

const char kReload[] = "sudo udevadm control --reload-rules && sudo udevadm trigger --subsystem-match=tty --action=change";

} // namespace

class SystemDoctorTest : public QObject {
    Q_OBJECT
private slots:
    void everyProblemNamesItsFix();
    void aHealthyMachineIsAllWell();
    void aMachineWithoutPortsOrServices();
    void theShippedRuleCoversTheCheckedAdapters();
};

void SystemDoctorTest::everyProblemNamesItsFix()
{
    FakeSystem sys;
    FakeUsbAdapter ftdi = adapter("ttyUSB0", "0403", "6001", "ftdi_sio", "1-1");
    ftdi.latencyTimer = 16;
    sys.addUsbAdapter(ftdi);
    sys.addUsbAdapter(adapter("ttyUSB1", "1a86", "7523", "ch341-uart", "1-2"));
    sys.addUsbAdapter(adapter("ttyACM0", "2341", "0043", "cdc_acm", "1-3"));
    sys.writeFile(QStringLiteral("/etc/group"), "root:x:0:\ndialout:x:20:installer\nuucp:x:10:\n");
    // A node of another group, which the user is not in: that group is named.
    QVERIFY(::chown(QFile::encodeName(sys.path(QStringLiteral("/dev/ttyACM0"))).constData(), 0, 10) == 0);
    sys.addProcess(4242, QStringLiteral("ModemManager"), QStringLiteral("/dev/ttyUSB1"));
    sys.writeFile(QStringLiteral("/usr/lib/udev/rules.d/70-zarven4-config.rules"), "# the package's rule\n");
    sys.writeFile(QStringLiteral("/usr/lib/udev/rules.d/85-brltty.rules"),
                  "# CH340\nENV{PRODUCT}==\"1a86/7523/*\", ENV{BRLTTY_BRAILLE_DRIVER}=\"bm\", GOTO=\"brltty_usb_run\"\n");

    FakeProbe probe(sys);
    probe.lockedOut = {QStringLiteral("/dev/ttyUSB0"), QStringLiteral("/dev/ttyACM0")};
    probe.answers.insert(QStringLiteral("systemctl is-active ModemManager"), QStringLiteral("active\n"));
    probe.answers.insert(udevInfo("/dev/ttyUSB0"), QStringLiteral("DEVNAME=/dev/ttyUSB0\nID_MM_DEVICE_IGNORE=1\n"));
    // A misspelled rule: the property udev holds is not the one ModemManager reads.
    probe.answers.insert(udevInfo("/dev/ttyUSB1"), QStringLiteral("DEVNAME=/dev/ttyUSB1\nID_MM_DEVICE_IGNOR=1\n"));
    probe.answers.insert(udevInfo("/dev/ttyACM0"), QStringLiteral("DEVNAME=/dev/ttyACM0\n"));

    const DoctorReport report = runDoctor(probe, {}, {});
    QVERIFY(!report.allWell());
    const QString text = report.text();
    const QString usb0 = QStringLiteral("/dev/ttyUSB0 (FTDI FT232R, 1-1)");
    const QString usb1 = QStringLiteral("/dev/ttyUSB1 (FTDI FT232R, 1-2)");
    const QString acm0 = QStringLiteral("/dev/ttyACM0 (FTDI FT232R, 1-3)");
    const QStringList expected = {
        // In the group by /etc/group, but the session began before.
        "[!!] " + usb0 + ": пользователь installer уже в группе dialout, но сеанс начат раньше. Исправить: войдите в систему заново",
        "[ok] " + usb0 + ": порт свободен",
        "[!!] " + usb0 + ": задержка адаптера FTDI 16 мс вместо 1. Исправить: echo 1 | sudo tee /sys/bus/usb-serial/devices/ttyUSB0/latency_timer",
        "[!!] " + acm0 + ": нет прав на порт. Исправить: sudo usermod -aG uucp installer, затем войдите в систему заново",
        "[ok] " + usb1 + ": доступ к порту есть",
        "[!!] " + usb1 + ": порт занят программой ModemManager (PID 4242). Исправить: sudo systemctl stop ModemManager",
        "[ok] ModemManager запущен",
        "[ok] " + usb0 + ": ModemManager не трогает порт",
        "[!!] " + usb1 + ": ModemManager может занять порт: нет ID_MM_DEVICE_IGNORE. Исправить: " + kReload,
        // An adapter the package's rule does not know gets a rule of its own.
        "[!!] " + acm0 + ": ModemManager может занять порт: нет ID_MM_DEVICE_IGNORE. Исправить: echo 'SUBSYSTEM==\"tty\", "
            "ATTRS{idVendor}==\"2341\", ATTRS{idProduct}==\"0043\", ENV{ID_MM_DEVICE_IGNORE}=\"1\"' | sudo tee -a "
            "/etc/udev/rules.d/71-zarven4-local.rules && " + kReload,
        "[!!] Правило brltty 85-brltty.rules забирает адаптеры CH340 и CP210x. Исправить: sudo ln -s /dev/null "
        "/etc/udev/rules.d/85-brltty.rules && " + QLatin1String(kReload),
    };
    for (const QString &line : expected)
        QVERIFY2(text.split(QLatin1Char('\n')).contains(line), qPrintable(line + "\n-- in --\n" + text));
    QCOMPARE(text.count(QStringLiteral("[!!]")), 7);
}

void SystemDoctorTest::aHealthyMachineIsAllWell()
{
    FakeSystem sys;
    FakeUsbAdapter ftdi;
    ftdi.latencyTimer = 1;
    sys.addUsbAdapter(ftdi);
    sys.addPlainTty(QStringLiteral("ttyS0"));
    sys.addProcess(77, QStringLiteral("bash"));
    // brltty's rule masked by an empty file of the same name in /etc.
    sys.writeFile(QStringLiteral("/usr/lib/udev/rules.d/85-brltty.rules"), "ENV{PRODUCT}==\"10c4/ea60/*\", GOTO=\"x\"\n");
    sys.writeFile(QStringLiteral("/etc/udev/rules.d/85-brltty.rules"), {});
    FakeProbe probe(sys);
    probe.answers.insert(QStringLiteral("systemctl is-active ModemManager"), QStringLiteral("inactive\n"));
    const DoctorReport report = runDoctor(probe, {}, {});
    QVERIFY2(report.allWell(), qPrintable(report.text()));
    QVERIFY(report.text().contains(QStringLiteral("[ok] /dev/ttyUSB0 (FTDI FT232R, A10K3XYZ): задержка адаптера FTDI 1 мс")));
    QVERIFY(report.text().contains(QStringLiteral("[ok] /dev/ttyS0: доступ к порту есть")));
    QVERIFY(report.text().contains(QStringLiteral("[ok] ModemManager не запущен")));
    QVERIFY(report.text().contains(QStringLiteral("[ok] brltty не забирает адаптеры CH340 и CP210x")));

    // The templates go through the translation before the parts go in.
    const DoctorReport english = runDoctor(probe, {}, [](const QString &t) {
        return t == QStringLiteral("%1: порт свободен") ? QStringLiteral("%1: the port is free") : t;
    });
    QVERIFY(english.text().contains(QStringLiteral("[ok] /dev/ttyS0: the port is free")));
}

void SystemDoctorTest::aMachineWithoutPortsOrServices()
{
    // A container: no systemd, no udev, no serial port; ModemManager found
    // in the process list all the same, and a --port device that is gone.
    FakeSystem sys;
    sys.addProcess(9, QStringLiteral("ModemManager"));
    FakeProbe probe(sys);
    DoctorReport report = runDoctor(probe, {}, {});
    QVERIFY(!report.allWell());
    QCOMPARE(report.findings.first().text, QStringLiteral("Последовательные порты не найдены. Подключите USB-адаптер прибора."));
    QVERIFY(report.text().contains(QStringLiteral("[ok] ModemManager запущен")));
    report = runDoctor(probe, {QStringLiteral("/dev/ttyUSB5")}, {});
    QCOMPARE(report.findings.first().text, QStringLiteral("/dev/ttyUSB5: устройство отключено."));
}

void SystemDoctorTest::theShippedRuleCoversTheCheckedAdapters()
{
    // The check tells "reload udev" only for the adapters the package's rule
    // names; the two lists must not drift apart.
    QFile rule(QStringLiteral(ZARVEN_TEST_DATA "/../../packaging/") + QLatin1String(kUdevRuleName));
    QVERIFY(rule.open(QIODevice::ReadOnly));
    QSet<QString> inRule;
    static const QRegularExpression ids(QStringLiteral("ATTRS\\{idVendor\\}==\"([0-9a-f]{4})\", ATTRS\\{idProduct\\}==\"([0-9a-f|]+)\""));
    for (auto m = ids.globalMatch(QString::fromUtf8(rule.readAll())); m.hasNext();) {
        const auto match = m.next();
        for (const QString &product : match.captured(2).split(QLatin1Char('|')))
            inRule << match.captured(1) + QLatin1Char(':') + product;
    }
    QSet<QString> checked;
    for (const UsbId &id : ruleAdapters())
        checked << QLatin1String(id.vendor) + QLatin1Char(':') + QLatin1String(id.product);
    QCOMPARE(inRule, checked);
    QCOMPARE(checked.size(), 9);
}

QTEST_GUILESS_MAIN(SystemDoctorTest)
#include "test_system_doctor.moc"
