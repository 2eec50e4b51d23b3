#pragma once
// The date and time texts the configuration files carry: the computer's
// short date format and long time format.

#include <QDateTime>
#include <QString>

namespace zarven {

struct SessionStamp {
    QString date;
    QString time;
};

// The stamp of the given moment (of now by default) in the computer's short
// date format and long time format. The long time format is taken without a
// time-zone name, as the platform's own long time format has none.
SessionStamp sessionStamp(const QDateTime &moment = QDateTime::currentDateTime());

} // namespace zarven
