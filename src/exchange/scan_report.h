#pragma once
// The lines that follow the no-answer message of a scan: one per port tried,
// saying why it gave nothing and what to do about it, or, when the machine
// has no serial port at all, that the adapter should be plugged in. Every
// line is a template with %1, %2, ... looked up in the dictionary's message
// sections before the port names and numbers go in, so the dictionary never
// collects one entry per device.

#include "serial/port_diagnosis.h"

#include <QList>
#include <QString>
#include <functional>

namespace zarven {

using TranslateFunction = std::function<QString(const QString &russian)>;

// One port's line.
QString diagnosisLine(const PortDiagnosis &d, const TranslateFunction &translate);

// Every line, each ending the line before it with CR LF; for an empty list
// the no-port line.
QString scanReport(const QList<PortDiagnosis> &tried, const TranslateFunction &translate);

// The warning that other programs hold the connected port open as well
// (they may take the controller's replies); empty when none does.
QString portSharedWarning(const QString &shownPort, const QList<PortHolder> &holders,
                          const TranslateFunction &translate);

// The status text while the scan tries a port: "Поиск: PORT (N из M)".
QString scanProgressText(const QString &port, int number, int count, const TranslateFunction &translate);

// The status text after the line to the controller was lost.
QString connectionLostText(const QString &port, const TranslateFunction &translate);

// The message of an exchange that a lost line ended: that the connection was
// lost, why (the device is gone, or the line hung up with the port's own
// words for it, reason), and what to do.
QString lineLostMessage(const QString &port, bool deviceGone, const QString &reason, const TranslateFunction &translate);

} // namespace zarven
