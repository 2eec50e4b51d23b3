#include "batch_run.h"

#include <QElapsedTimer>
#include <QProcess>

namespace zarven::test {

BatchRun runConfig(const QStringList &args, int divisor, QProcessEnvironment env)
{
    QProcess p;
    env.remove(QStringLiteral("ZARVEN_TIMER_DIVISOR"));
    if (divisor > 0)
        env.insert(QStringLiteral("ZARVEN_TIMER_DIVISOR"), QString::number(divisor));
    p.setProcessEnvironment(env);
    QElapsedTimer clock;
    clock.start();
    p.start(QStringLiteral(ZARVEN_CONFIG_BINARY), args);
    BatchRun r;
    if (!p.waitForFinished(60000)) {
        p.kill();
        p.waitForFinished();
        r.err = QStringLiteral("zarven4-config did not end");
        return r;
    }
    r.elapsedMs = clock.elapsed();
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

QStringList lines(const QString &text)
{
    QStringList l = text.split(QLatin1Char('\n'));
    if (!l.isEmpty() && l.last().isEmpty())
        l.removeLast();
    return l;
}

} // namespace zarven::test
