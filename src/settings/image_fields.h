#pragma once
// The one catalogue of the settings fields the image carries. Each field is
// declared here once: a stable short key ("input2.type", "sensor1.min",
// "phone3"), where it sits in the window ("Вход 2", "Термодатчик 1",
// "Телефоны", "Постановка/Снятие") and its caption there, how its bytes read
// (its kind), the field it depends on, and the controls it is encoded from.
// Where its bytes lie in an image is found by walking the image
// (stored_fields.h), in the order of this list; everything else (compare, the
// write's refusals, reports) reads this list rather than naming fields itself.
//
// The list is fixed; a field is known by its index into imageFields().

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <functional>
#include <optional>
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
    QString key;     // stable and short, for columns and scripts: "input1.relay2"
    QString place;   // the panel, in Russian: "Вход 2"
    QString caption; // the field, in Russian: "Сообщение"
    FieldKind kind;
    // The field this one depends on (an input's "Активировать", a sensor's
    // enable or keeping box), -1 for none. While the two sides differ there,
    // the dependent field says nothing of its own.
    int gate = -1;
    // The window's controls the field is encoded from (by object name).
    QStringList controls;
};

const std::vector<ImageField> &imageFields();

// The index of the field with this key; -1 when there is none.
int fieldIndex(QStringView key);
// The field a window control feeds; -1 for a control the image does not
// carry.
int fieldOfControl(const QString &controlName);

// Passes a Russian text through the dictionary into the window's language.
using TextTranslator = std::function<QString(const QString &)>;

// "Термодатчик 1 / Порог опасной температуры Min", in the window's language.
QString fieldLabel(int field, const TextTranslator &tr = {});

// Where a field lies in an image; pos -1 when the image does not carry it.
struct FieldSpan {
    qsizetype pos = -1;
    qsizetype length = 0;
};

// The records of the write stream (inputs 1 to 4, thermostat, telephone,
// options, date-time, delay) joined, without markers and write command, and
// the span of every field in imageFields() order. The date and the time are
// the eight bytes the controller takes for each. Throws what the encoders
// throw.
struct ImageLayout {
    QByteArray image;
    QList<FieldSpan> spans;
};
ImageLayout imageLayout(const ControlAccess &controls);

// Every field's bytes in imageFields() order; empty where the image does not
// carry the field.
using FieldValues = QList<std::optional<QByteArray>>;

// The fields of the image a write of the controls would send.
FieldValues encodedFields(const ControlAccess &controls);

// The entries of a list field in the window's order (Russian), the same
// order as the bytes the field takes: "Высокий", "Низкий", … Empty for a
// kind that is no list.
QStringList fieldEntries(FieldKind kind);

// A field's bytes as a person reads them: "да", "Реле1", "2 мин 30 сек",
// "+79161234567" … The words and list entries go through tr when one is
// given; the user's own texts (messages, numbers, date and time) never do.
// Bytes that mean nothing for the field (a "7" in a flag, a temperature
// beyond the sensor's range) show as their hexadecimal value: "37 hex".
QString fieldValueText(FieldKind kind, const QByteArray &bytes, const TextTranslator &tr = {});

} // namespace zarven
