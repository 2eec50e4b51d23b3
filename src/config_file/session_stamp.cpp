#include "config_file/session_stamp.h"

#include <QLocale>
#include <QRegularExpression>

namespace zarven {

SessionStamp sessionStamp(const QDateTime &moment)
{
    const QLocale locale = QLocale::system();
    QString timeFormat = locale.timeFormat(QLocale::LongFormat);
    static const QRegularExpression zone(QStringLiteral("\\s*\\bt+\\b"));
    timeFormat.remove(zone);
    return {locale.toString(moment.date(), QLocale::ShortFormat), locale.toString(moment.time(), timeFormat.trimmed())};
}

} // namespace zarven
