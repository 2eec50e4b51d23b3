#include "exchange/scan_report.h"

namespace zarven {

namespace {

QString tr(const TranslateFunction &translate, const char *russianUtf8)
{
    const QString russian = QString::fromUtf8(russianUtf8);
    return translate ? translate(russian) : russian;
}

// "name (PID n), ..."
QString holderNames(const QList<PortHolder> &holders)
{
    QStringList who;
    for (const PortHolder &h : holders)
        who << QStringLiteral("%1 (PID %2)").arg(h.name.isEmpty() ? QStringLiteral("?") : h.name).arg(h.pid);
    return who.join(QStringLiteral(", "));
}

// How to stop ModemManager, when it is among the holders.
QString modemManagerHint(const QList<PortHolder> &holders, const TranslateFunction &translate)
{
    for (const PortHolder &h : holders)
        if (h.name == QLatin1String("ModemManager"))
            return QLatin1Char(' ') + tr(translate, "ModemManager можно остановить: sudo systemctl stop ModemManager");
    return {};
}

QString holderText(const PortDiagnosis &d, const TranslateFunction &translate)
{
    if (d.holders.isEmpty())
        return tr(translate, "%1: порт занят другой программой. Закройте её и повторите поиск.").arg(d.shownPort());
    return tr(translate, "%1: порт занят программой %2. Закройте её и повторите поиск.")
               .arg(d.shownPort(), holderNames(d.holders))
        + modemManagerHint(d.holders, translate);
}

} // namespace

QString diagnosisLine(const PortDiagnosis &d, const TranslateFunction &translate)
{
    switch (d.fault) {
    case PortFault::NoPermission:
        return tr(translate, "%1: нет прав на порт. Добавьте пользователя в группу %2 (sudo usermod -aG %2 $USER) "
                             "и войдите в систему заново.")
            .arg(d.shownPort(), d.group);
    case PortFault::HeldByProgram:
        return holderText(d, translate);
    case PortFault::Vanished:
        return tr(translate, "%1: устройство отключено.").arg(d.shownPort());
    case PortFault::OpenFailed:
        return tr(translate, "%1: порт не открывается (%2).").arg(d.shownPort(), d.detail);
    case PortFault::NoAnswer:
        break;
    }
    return tr(translate, "%1: нет ответа.").arg(d.shownPort());
}

QString scanReport(const QList<PortDiagnosis> &tried, const TranslateFunction &translate)
{
    if (tried.isEmpty())
        return tr(translate, "Последовательные порты не найдены. Подключите USB-адаптер прибора.");
    QStringList lines;
    for (const PortDiagnosis &d : tried)
        lines << diagnosisLine(d, translate);
    return lines.join(QStringLiteral("\r\n"));
}

QString portSharedWarning(const QString &shownPort, const QList<PortHolder> &holders,
                          const TranslateFunction &translate)
{
    if (holders.isEmpty())
        return {};
    return tr(translate, "Внимание: порт %1 открыт также программой %2. Она может мешать обмену; закройте её.")
               .arg(shownPort, holderNames(holders))
        + modemManagerHint(holders, translate);
}

QString scanProgressText(const QString &port, int number, int count, const TranslateFunction &translate)
{
    return tr(translate, "Поиск: %1 (%2 из %3)").arg(port).arg(number).arg(count);
}

QString connectionLostText(const QString &port, const TranslateFunction &translate)
{
    return tr(translate, "Связь с прибором потеряна (%1)").arg(port);
}

QString lineLostMessage(const QString &port, bool deviceGone, const QString &reason, const TranslateFunction &translate)
{
    PortDiagnosis gone;
    gone.port = port;
    gone.fault = PortFault::Vanished;
    const QString why = deviceGone ? diagnosisLine(gone, translate)
                                   : tr(translate, "%1: линия оборвана (%2).").arg(port, reason);
    return QStringList({tr(translate, "Связь с прибором потеряна, обмен прерван."), why,
                        tr(translate, "Проверьте подключение прибора и нажмите \"Соединить\".")})
        .join(QStringLiteral("\r\n"));
}

} // namespace zarven
