#pragma once
// Every field the settings image carries, one by one: where it sits in the
// window ("Вход 2", "Термодатчик 1", "Телефоны", "Постановка/Снятие"), its
// caption, and its bytes as the controller would store them. The bytes come
// from the record encoders themselves, so a field is what a write would send:
// a setting the image cannot carry (the message of an inactive input, the
// thresholds of a disabled sensor) has no value of its own here.
//
// The field list is fixed; imageFields() and the spans of imageLayout() run
// in the same order, so a field is known by its index.

#include <QByteArray>
#include <QList>
#include <QString>
#include <functional>
#include <vector>

namespace zarven {

class ControlAccess;

// How a field's bytes read to a person.
enum class FieldKind {
    Flag,              // "1" / "0"
    Text,              // an input's message
    InputType,         // "1", "3", "2" by the write table
    OutputTime,        // two bytes: not assigned, always on, or seconds
    Temperature,       // signed byte, degrees
    KeepingOutput,     // "1" to "4": Реле1 … Выход2(ОК2)
    ArmingLevel,       // "1" to "3"
    OutputAtArming,    // "0" to "4"
    ArmingStateOutput, // "1", "2"
    Phone,             // the digits of one number
    Date,              // "dd.mm.yy"
    Time,              // "hh:mm:ss"
    Seconds,           // one byte, 0 to 250
};

struct ImageField {
    QString place;   // the panel, in Russian: "Вход 2"
    QString caption; // the field, in Russian: "Сообщение"
    FieldKind kind;
    // The field this one depends on (an input's "Активировать", a sensor's
    // enable or keeping box), -1 for none. While the two sides differ there,
    // the dependent field says nothing of its own.
    int gate = -1;
};

const std::vector<ImageField> &imageFields();

// Where each field lies in the image.
struct FieldSpan {
    qsizetype pos = 0;
    qsizetype length = 0;
};

// The records of the write stream (inputs 1 to 4, thermostat, telephone,
// options, date-time, delay) joined, without markers and write command, and
// the span of every field in imageFields() order. The date and the time are
// the eight bytes the controller takes for each, cut short where the record
// is shorter. Throws what the encoders throw.
struct ImageLayout {
    QByteArray image;
    QList<FieldSpan> spans;
};
ImageLayout imageLayout(const ControlAccess &controls);

// The bytes of every field in imageFields() order.
QList<QByteArray> encodedFields(const ControlAccess &controls);

// Passes a Russian text through the dictionary into the window's language.
using TextTranslator = std::function<QString(const QString &)>;

// A field's bytes as a person reads them: "да", "Реле1", "2 мин 30 сек",
// "+79161234567" … The words and list entries go through tr when one is
// given; the user's own texts (messages, numbers, date and time) never do. A
// byte outside the field's table shows as its hexadecimal value.
QString fieldValueText(FieldKind kind, const QByteArray &bytes, const TextTranslator &tr = {});

} // namespace zarven
