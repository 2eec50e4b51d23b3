#include "settings/image_reader.h"

#include "settings/control_access.h"
#include "settings/image_bytes.h"
#include "settings/image_decoder.h"

namespace zarven {

int decodeSettingsImage(const QByteArray &packet, ControlAccess &controls, EventLog &log)
{
    controls.setText(QStringLiteral("SE_inp"), QStringLiteral("0"));
    controls.setText(QStringLiteral("SE_out"), QStringLiteral("0"));

    ImageDecoder decoder(packet, controls, log);
    int counted = 0;
    // The last byte never starts a record. A record leaves p on the last
    // byte it consumed; a closing 0D it leaves unread is then passed over
    // like any byte that starts no record.
    for (qsizetype p = 0; p < packet.size() - 1; ++p) {
        switch (packet.at(p)) {
        case 0x01:
        case 0x02:
        case 0x03:
        case 0x04:
            p = decoder.decodeInputRecord(p);
            ++counted;
            break;
        case kThermostatRecord:
            p = decoder.decodeThermostatRecord(p);
            ++counted;
            break;
        case kTelephoneRecord:
            p = decoder.decodeTelephoneRecord(p);
            ++counted;
            break;
        case kOptionsRecord:
            p = decoder.decodeOptionsRecord(p);
            ++counted;
            break;
        case kDateTimeRecord:
            p = decoder.decodeDateTimeRecord(p);
            break;
        case kDelayRecord:
            p = decoder.decodeDelayRecord(p);
            break;
        case kSkipPair:
            ++p;
            break;
        default:
            break;
        }
    }
    return counted;
}

} // namespace zarven
