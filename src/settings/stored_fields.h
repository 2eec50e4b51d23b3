#pragma once
// The fields of a settings image as their bytes stand, without a window:
// the walk of a received image (records in any order, bytes that start no
// record passed over, 25 hex skipping itself and the next byte, the last byte
// never starting a record) that notes where each field of imageFields()
// lies instead of setting a control. A comparison of these bytes sees what
// the controller stores, not what a decoder's fallbacks make of it.
//
// A record met twice gives its later bytes. A record cut short by the end of
// the image leaves the fields it does not hold whole without bytes (also
// when an earlier record gave them) and marks the image cut short; so does a
// date or time with fewer than eight bytes left. A telephone record of more
// than five numbers gives the fifth field everything from the fifth number
// to the last one, "/" between; one of fewer leaves the others without bytes.

#include "settings/image_fields.h"

#include <QByteArray>

namespace zarven {

struct StoredFields {
    FieldValues values;     // imageFields() order
    QList<FieldSpan> spans; // where each value lies in the image
    int counted = 0;        // input, thermostat, telephone and options records
    bool cutShort = false;  // a record ran past the end of the image
};

StoredFields storedFields(const QByteArray &image);

} // namespace zarven
