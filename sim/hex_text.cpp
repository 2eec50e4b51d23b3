#include "hex_text.h"

#include "core/cp1251.h"
#include "core/strings.h"

namespace zarven::sim {

namespace {

bool isSeparator(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char(':') || c == QLatin1Char('-');
}

} // namespace

std::optional<QByteArray> parseHexBytes(const QString &text, QString *error)
{
    QByteArray out;
    int high = -1;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (isSeparator(c)) {
            if (high >= 0) {
                if (error)
                    *error = QStringLiteral("a byte needs two hexadecimal digits: '%1'").arg(text);
                return std::nullopt;
            }
            continue;
        }
        const int v = hexDigitValue(c);
        if (v < 0) {
            if (error)
                *error = QStringLiteral("'%1' is not a hexadecimal digit in '%2'").arg(c).arg(text);
            return std::nullopt;
        }
        if (high < 0) {
            high = v;
        } else {
            out.append(char(high * 16 + v));
            high = -1;
        }
    }
    if (high >= 0) {
        if (error)
            *error = QStringLiteral("odd number of hexadecimal digits in '%1'").arg(text);
        return std::nullopt;
    }
    return out;
}

std::optional<QByteArray> parseBytesArgument(const QString &text, QString *error)
{
    static const QString textPrefix = QStringLiteral("text:");
    if (text.startsWith(textPrefix))
        return toCp1251(text.mid(textPrefix.size()));
    return parseHexBytes(text, error);
}

QString printableBytes(const QByteArray &bytes)
{
    QString out;
    for (char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        if (b >= 0x20 && b < 0x7F && b != '<')
            out += QLatin1Char(char(b));
        else
            out += QStringLiteral("<%1>").arg(b, 2, 16, QLatin1Char('0')).toUpper();
    }
    return out;
}

} // namespace zarven::sim
