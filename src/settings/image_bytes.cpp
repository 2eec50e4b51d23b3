#include "settings/image_bytes.h"

#include <QRegularExpression>

namespace zarven {

QByteArray outputTimeBytes(quint16 value)
{
    QByteArray out(2, '\0');
    out[0] = char(value >> 8);
    out[1] = char(value & 0xFF);
    return out;
}

quint16 outputTimeValue(char high, char low)
{
    return quint16(byteValue(high) * 256 + byteValue(low));
}

quint16 outputTimeOf(bool assigned, bool alwaysOn, int minutes, int seconds)
{
    if (!assigned)
        return kNotAssigned;
    if (alwaysOn)
        return kAlwaysOnCode;
    return quint16(minutes * 60 + seconds);
}

char temperatureByte(int degrees)
{
    return char(quint8(degrees & 0xFF));
}

int temperatureFromByte(char byte)
{
    const int v = byteValue(byte);
    return v <= 125 ? v : v - 256;
}

QDate imageDate(const QString &text)
{
    static const QRegularExpression pattern(QStringLiteral("^([0-9]{2})\\.([0-9]{2})\\.([0-9]{2})$"));
    const auto m = pattern.match(text);
    if (!m.hasMatch())
        return {};
    return QDate(2000 + m.captured(3).toInt(), m.captured(2).toInt(), m.captured(1).toInt());
}

} // namespace zarven
