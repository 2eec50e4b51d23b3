#include "default_state.h"

namespace zarven::sim {

namespace {

QByteArray inputRecord(char number, bool enabled)
{
    QByteArray r;
    r.append(number);
    if (!enabled) {
        // A disabled input carries a single blank as its message and no
        // settings, whatever its controls hold.
        r.append(' ');
        r.append('\r');
        r.append("000");
        r.append(QByteArray(8, '\0'));
        return r;
    }
    r.append('\r');  // empty message text
    r.append('1');   // type "Внешний уровень 3-12В", chosen when the input is activated
    r.append('1');   // active
    r.append('0');   // no 24-hour control
    r.append(QByteArray(8, '\0')); // use-outputs on, no output assigned
    return r;
}

} // namespace

QByteArray defaultSettingsImage(const QDateTime &clock)
{
    QByteArray image;
    image += inputRecord('\x01', true);
    image += inputRecord('\x02', false);
    image += inputRecord('\x03', false);
    image += inputRecord('\x04', false);

    // Both sensors off: the fixed block "01101100" each.
    image += "#0110110001101100\r";

    // Five phone boxes holding "+7" and blanks: each number is "7".
    image += '\x11';
    for (int i = 0; i < 5; ++i)
        image += "7/";
    image += '\r';

    // Options: arming level "Touch Memory/Импульс", SMS at arming and
    // disarming, no beep, voltage control without external UPS, time in SMS,
    // microphone and status SMS on call, nothing switched at arming, alarm by
    // SMS and call, LED as the arming output, SMS not to all numbers.
    image += "!31101011101110\r";

    image += '\x1C';
    image += clock.toString(QStringLiteral("dd.MM.yy")).toLatin1();
    image += ';';
    image += clock.toString(QStringLiteral("HH:mm:ss")).toLatin1();
    image += '\r';

    // No arming or disarming delay, for no input.
    image += '$';
    image += '\0';
    image += '\0';
    image += "0000\r";
    return image;
}

QByteArray defaultKeyCode()
{
    return QByteArray("\x01\x5A\x3C\x1E\x0B\x00\x00\x95", kKeyCodeSize);
}

QByteArray keyRecord(const QByteArray &description, const QByteArray &code)
{
    QByteArray r = description.left(kKeyDescriptionSize - 1);
    r.append(QByteArray(kKeyDescriptionSize - r.size(), '\0'));
    QByteArray c = code.left(kKeyCodeSize);
    c.append(QByteArray(kKeyCodeSize - c.size(), '\0'));
    return r + c;
}

QByteArray defaultKeyTable()
{
    QByteArray table = keyRecord("Master", defaultKeyCode());
    table.append(QByteArray(kKeyTableSize - table.size(), '\0'));
    return table;
}

} // namespace zarven::sim
