#include "core/strings.h"

#include "core/errors.h"

namespace zarven {

ConversionError::ConversionError(const QString &text)
    : AppError(QStringLiteral("'%1' is not a valid integer value").arg(text))
{
}

QString errorReportText(const QString &message)
{
    if (!message.isEmpty() && message.back() > QLatin1Char('.'))
        return message + QLatin1Char('.');
    return message;
}

QString PhoneDigits(const QString &s)
{
    QString rest = s.mid(1);
    auto isTrimmed = [](QChar c) { return c.unicode() <= 0x20; };
    qsizetype begin = 0;
    qsizetype end = rest.size();
    while (begin < end && isTrimmed(rest[begin]))
        ++begin;
    while (end > begin && isTrimmed(rest[end - 1]))
        --end;
    rest = rest.mid(begin, end - begin);
    // A gap inside the number is no digit of it.
    rest.remove(QLatin1Char(' '));
    if (rest.isEmpty())
        return QStringLiteral("7");
    for (QChar c : rest) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return QStringLiteral("7");
    }
    return rest;
}

QString WithPlus(const QString &s)
{
    return QLatin1Char('+') + s;
}

QString BytesToHex(const QByteArray &s)
{
    return QString::fromLatin1(s.toHex().toUpper());
}

int hexDigitValue(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    return -1;
}

QByteArray HexToBytes(const QString &s)
{
    QByteArray out;
    if (s.size() == 1) {
        const int v = hexDigitValue(s[0]);
        if (v < 0)
            throw ConversionError(QStringLiteral("$") + s);
        out.append(char(v));
        return out;
    }
    for (qsizetype i = 0; i + 1 < s.size(); i += 2) {
        const int hi = hexDigitValue(s[i]);
        const int lo = hexDigitValue(s[i + 1]);
        if (hi < 0 || lo < 0)
            throw ConversionError(QStringLiteral("$") + s.mid(i, 2));
        out.append(char(hi * 16 + lo));
    }
    return out;
}

std::optional<int> TryStrToInt(const QString &s)
{
    qsizetype i = 0;
    while (i < s.size() && s[i] == QLatin1Char(' '))
        ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == QLatin1Char('+') || s[i] == QLatin1Char('-'))) {
        negative = s[i] == QLatin1Char('-');
        ++i;
    }
    int base = 10;
    if (i < s.size() && s[i] == QLatin1Char('$')) {
        base = 16;
        ++i;
    } else if (i + 1 < s.size() && s[i] == QLatin1Char('0')
               && (s[i + 1] == QLatin1Char('x') || s[i + 1] == QLatin1Char('X'))) {
        base = 16;
        i += 2;
    } else if (i < s.size() && (s[i] == QLatin1Char('x') || s[i] == QLatin1Char('X'))) {
        base = 16;
        ++i;
    }
    if (i >= s.size())
        return std::nullopt;
    qint64 value = 0;
    for (; i < s.size(); ++i) {
        const int d = hexDigitValue(s[i]);
        if (d < 0 || d >= base)
            return std::nullopt;
        value = value * base + d;
        // Decimal texts must fit a signed 32-bit integer; hexadecimal ones
        // may use all 32 bits and wrap, as the platform's conversion does.
        if (value > 0xFFFFFFFFLL)
            return std::nullopt;
    }
    if (base == 10) {
        if (value > (negative ? 2147483648LL : 2147483647LL))
            return std::nullopt;
        return int(negative ? -value : value);
    }
    const int v = int(quint32(value));
    return negative ? -v : v;
}

int StrToInt(const QString &s)
{
    const auto v = TryStrToInt(s);
    if (!v)
        throw ConversionError(s);
    return *v;
}

} // namespace zarven
