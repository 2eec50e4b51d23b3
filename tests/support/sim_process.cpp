#include "sim_process.h"

#include <QFile>

#include "default_state.h"

#include <QDeadlineTimer>

#include <initializer_list>

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace zarven::test {

QString SimProcess::binaryPath()
{
    return QStringLiteral(ZARVEN_SIM_BINARY);
}

SimProcess::SimProcess(const QStringList &options, int startTimeoutMs)
    : dir_(std::make_unique<QTemporaryDir>()), process_(std::make_unique<QProcess>())
{
    QStringList args = options;
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--state") && i + 1 < args.size())
            statePath_ = args[i + 1];
        else if (args[i].startsWith(QLatin1String("--state=")))
            statePath_ = args[i].mid(8);
    }
    if (statePath_.isEmpty()) {
        statePath_ = dir_->filePath(QStringLiteral("sim.state"));
        args << QStringLiteral("--state") << statePath_;
    }

    process_->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process_->start(binaryPath(), args);
    if (!process_->waitForStarted(startTimeoutMs)) {
        error_ = QStringLiteral("%1 did not start: %2").arg(binaryPath(), process_->errorString());
        return;
    }

    const QDeadlineTimer deadline(startTimeoutMs);
    while (!process_->canReadLine()) {
        if (process_->state() != QProcess::Running || deadline.hasExpired())
            break;
        process_->waitForReadyRead(int(qMax<qint64>(1, deadline.remainingTime())));
    }
    if (process_->canReadLine()) {
        devicePath_ = QString::fromLocal8Bit(process_->readLine()).trimmed();
        return;
    }
    if (process_->state() != QProcess::Running)
        error_ = QStringLiteral("the simulator ended at start with exit code %1 (see its standard error)")
                     .arg(process_->exitCode());
    else
        error_ = QStringLiteral("the simulator printed no device path within %1 ms").arg(startTimeoutMs);
    stop();
}

SimProcess::~SimProcess()
{
    stop();
}

bool SimProcess::isRunning() const
{
    return process_->state() == QProcess::Running && !devicePath_.isEmpty();
}

qint64 SimProcess::processId() const
{
    return process_->processId();
}

int SimProcess::stop()
{
    if (process_->state() == QProcess::NotRunning)
        return process_->exitStatus() == QProcess::NormalExit ? process_->exitCode() : -1;
    process_->terminate();
    if (!process_->waitForFinished(5000)) {
        process_->kill();
        process_->waitForFinished(5000);
        return -1;
    }
    return process_->exitStatus() == QProcess::NormalExit ? process_->exitCode() : -1;
}

void dropCapabilities(std::initializer_list<int> capabilities)
{
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[2]{};
    if (syscall(SYS_capget, &header, data) != 0)
        return;
    for (const int cap : capabilities) {
        data[cap / 32].effective &= ~(1u << (cap % 32));
        data[cap / 32].permitted &= ~(1u << (cap % 32));
    }
    syscall(SYS_capset, &header, data);
}

void dropExclusiveOverride()
{
    dropCapabilities({CAP_SYS_ADMIN});
}

void dropFileAccessOverride()
{
    dropCapabilities({CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH, CAP_FOWNER});
}

QByteArray someKeyTable()
{
    QByteArray table;
    for (int k = 0; k < sim::kKeyCount; ++k)
        table += sim::keyRecord("Door " + QByteArray::number(k), QByteArray::fromHex("0123456789ABCD") + char(k));
    return table;
}

QString writeSimState(const QString &dir, const QByteArray &image)
{
    const QString path = dir + QStringLiteral("/controller.state");
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write("zarven4-sim state 1\nimage " + image.toHex(' ').toUpper() + '\n');
    return path;
}

} // namespace zarven::test
