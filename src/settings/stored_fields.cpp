#include "settings/stored_fields.h"

#include "settings/control_names.h"
#include "settings/image_bytes.h"

namespace zarven {

namespace {

constexpr qsizetype kFieldsPerInput = 4 + kOutputsPerInput;
constexpr qsizetype kSensorBytes = 8 * kSensors;
constexpr qsizetype kOptionBytes = 14;
constexpr qsizetype kClockText = 8;
constexpr qsizetype kDelayBytes = 2 + kInputs;

// The first field of each record in the catalogue; a record's fields follow
// it in record order.
struct FirstFields {
    int input = fieldIndex(u"input1.message");
    int sensor = fieldIndex(u"sensor1.enabled");
    int phone = fieldIndex(u"phone1");
    int option = fieldIndex(u"arming.level");
    int date = fieldIndex(u"date");
    int time = fieldIndex(u"time");
    int delay = fieldIndex(u"delay.arming");
};

const FirstFields &firstFields()
{
    static const FirstFields first;
    return first;
}

class Walk {
public:
    explicit Walk(const QByteArray &image) : image_(image), first_(firstFields())
    {
        const qsizetype n = qsizetype(imageFields().size());
        out_.values.resize(n);
        out_.spans.resize(n);
    }

    StoredFields run()
    {
        for (qsizetype p = 0; p < image_.size() - 1; ++p) {
            switch (image_.at(p)) {
            case 0x01:
            case 0x02:
            case 0x03:
            case 0x04:
                p = input(p);
                ++out_.counted;
                break;
            case kThermostatRecord:
                p = fixed(p, first_.sensor, kSensorBytes);
                ++out_.counted;
                break;
            case kTelephoneRecord:
                p = phones(p);
                ++out_.counted;
                break;
            case kOptionsRecord:
                p = fixed(p, first_.option, kOptionBytes);
                ++out_.counted;
                break;
            case kDateTimeRecord:
                take(first_.date, p + 1, kClockText);
                take(first_.time, p + 2 + kClockText, kClockText);
                p += 1 + 2 * kClockText;
                break;
            case kDelayRecord:
                p = fixed(p, first_.delay, kDelayBytes);
                break;
            case kSkipPair:
                ++p;
                break;
            default:
                break;
            }
        }
        return out_;
    }

private:
    // The field's bytes when the image holds all of them; otherwise none,
    // and the image counts as cut short.
    void take(int field, qsizetype pos, qsizetype length)
    {
        if (pos + length <= image_.size()) {
            out_.values[field] = image_.mid(pos, length);
            out_.spans[field] = {pos, length};
        } else {
            drop(field, field + 1);
        }
    }
    void drop(int from, int to)
    {
        for (int field = from; field < to; ++field) {
            out_.values[field].reset();
            out_.spans[field] = {};
        }
        out_.cutShort = true;
    }
    // A record of one-byte fields; returns its last data byte.
    qsizetype fixed(qsizetype p, int first, qsizetype count)
    {
        for (qsizetype k = 0; k < count; ++k)
            take(first + int(k), p + 1 + k, 1);
        return p + count;
    }
    qsizetype input(qsizetype p)
    {
        const int first = first_.input + int(kFieldsPerInput) * (image_.at(p) - 1);
        const qsizetype end = image_.indexOf(kRecordEnd, p + 1);
        if (end < 0) {
            drop(first, first + int(kFieldsPerInput));
            return image_.size();
        }
        take(first, p + 1, end - p - 1);
        for (int k = 1; k <= 3; ++k)
            take(first + k, end + k, 1);
        for (int slot = 0; slot < kOutputsPerInput; ++slot)
            take(first + 4 + slot, end + 4 + 2 * slot, 2);
        return end + 3 + 2 * kOutputsPerInput;
    }
    // Returns the closing 0D, or the image's size when the record is cut
    // short.
    qsizetype phones(qsizetype p)
    {
        qsizetype q = p + 1;
        int k = 0;
        for (;;) {
            if (q >= image_.size() || (image_.at(q) != kRecordEnd && image_.indexOf(kNumberEnd, q) < 0)) {
                drop(first_.phone + qMin(k, kPhones - 1), first_.phone + kPhones);
                return image_.size();
            }
            if (image_.at(q) == kRecordEnd)
                break;
            // Only "/" ends a number; a 0D before it belongs to the number.
            const qsizetype slash = image_.indexOf(kNumberEnd, q);
            if (++k <= kPhones) {
                take(first_.phone + k - 1, q, slash - q);
            } else {
                const int last = first_.phone + kPhones - 1;
                const qsizetype from = out_.spans[last].pos;
                take(last, from, slash - from);
            }
            q = slash + 1;
        }
        for (int missing = k; missing < kPhones; ++missing) {
            out_.values[first_.phone + missing].reset();
            out_.spans[first_.phone + missing] = {};
        }
        return q;
    }

    const QByteArray &image_;
    const FirstFields &first_;
    StoredFields out_;
};

} // namespace

StoredFields storedFields(const QByteArray &image)
{
    return Walk(image).run();
}

} // namespace zarven
