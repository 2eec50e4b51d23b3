#pragma once
// The walk over a received settings image: records in any order, bytes that
// start no record passed over, 25 hex skipping itself and the next byte.

#include <QByteArray>

namespace zarven {

class ControlAccess;
class EventLog;

// Sets the arming and disarming delays to 0, then decodes every record the
// packet holds into the controls, logging format errors. The packet's last
// byte never starts a record. Returns the number of counted records (input,
// thermostat, telephone and options records); date-time and delay records
// are decoded but not counted.
int decodeSettingsImage(const QByteArray &packet, ControlAccess &controls, EventLog &log);

} // namespace zarven
