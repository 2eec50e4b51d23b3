#include "settings/write_image.h"

#include "core/cp1251.h"
#include "core/strings.h"
#include "settings/control_access.h"
#include "settings/control_names.h"
#include "settings/image_bytes.h"
#include "settings/image_encoder.h"
#include "settings/output_times.h"

#include <QRegularExpression>

namespace zarven {

namespace {

const QByteArray kStopMarker("\xFF\xFE", 2);

// Collects the first reason a write cannot go out and the controls it names.
class Checks {
public:
    explicit Checks(const ControlAccess& c)
        : c_(c)
    {
    }

    void number(const QString& name)
    {
        if (!TryStrToInt(c_.text(name)))
            fail(WriteRefusal::NotANumber, name);
    }
    void selection(const QString& name)
    {
        if (c_.index(name) < 0)
            fail(WriteRefusal::NoSelection, name);
    }
    void fail(WriteRefusal why, const QString& name)
    {
        // The first reason wins; later controls of that reason are named too.
        if (refusal_ == WriteRefusal::None)
            refusal_ = why;
        if (refusal_ == why && !names_.contains(name))
            names_ << name;
    }
    WriteRefusal refusal() const { return refusal_; }
    const QStringList& names() const { return names_; }

private:
    const ControlAccess& c_;
    WriteRefusal refusal_ = WriteRefusal::None;
    QStringList names_;
};

void checkInputs(Checks& check, const ControlAccess& c)
{
    for (int input = 1; input <= kInputs; ++input) {
        const InputControls in = inputControls(input);
        if (!c.checked(in.active))
            continue;
        check.selection(in.type);
        if (!c.checked(in.useOutputs))
            continue;
        for (int slot = 0; slot < kOutputsPerInput; ++slot) {
            const OutputControls out = outputControls(input, slot);
            if (!c.checked(out.assignment) || c.checked(out.alwaysOn))
                continue;
            check.number(out.minutes);
            check.number(out.seconds);
        }
    }
}

void checkSensors(Checks& check, const ControlAccess& c)
{
    for (int sensor = 1; sensor <= kSensors; ++sensor) {
        const SensorControls s = sensorControls(sensor);
        if (!c.checked(s.enabled))
            continue;
        check.number(s.lower);
        check.number(s.upper);
        if (!c.checked(s.keeping))
            continue;
        check.number(s.economy);
        check.number(s.comfort);
        check.selection(s.output);
    }
}

bool isTime(const QString& text)
{
    static const QRegularExpression pattern(QStringLiteral("^([0-9]{2}):([0-9]{2}):([0-9]{2})$"));
    const auto m = pattern.match(text);
    return m.hasMatch() && m.captured(1).toInt() <= 23 && m.captured(2).toInt() <= 59 && m.captured(3).toInt() <= 59;
}

void checkOptionsAndClock(Checks& check, const ControlAccess& c)
{
    check.selection(QStringLiteral("CBox_INPUT"));
    check.selection(QStringLiteral("CB_on_output_in"));
    check.selection(QStringLiteral("RadioGroup1"));
    QString time = c.text(QStringLiteral("Edit_time"));
    // The record gives a one-digit hour its leading "0".
    if (time.size() >= 2 && time.at(1) == QLatin1Char(':'))
        time.prepend(QLatin1Char('0'));
    if (!isTime(time))
        check.fail(WriteRefusal::BadTime, QStringLiteral("Edit_time"));
    if (!imageDate(c.text(QStringLiteral("Edit_Date"))).isValid())
        check.fail(WriteRefusal::BadDate, QStringLiteral("Edit_Date"));
    check.number(QStringLiteral("SE_inp"));
    check.number(QStringLiteral("SE_out"));
}

bool holdsStopMarker(const QByteArray& bytes) { return bytes.contains(kStopMarker); }

// The controls whose bytes stand side by side in the records and together
// form FF FE: a message text holding the two characters, two temperatures of
// -1 and -2 degrees in a row, an output time ending in FF followed by one
// starting with FE.
QStringList stopMarkerSources(const ControlAccess& c)
{
    QStringList names;
    for (int input = 1; input <= kInputs; ++input) {
        const InputControls in = inputControls(input);
        if (!c.checked(in.active))
            continue;
        if (holdsStopMarker(toCp1251(c.text(in.message).left(kImageMessageLength))))
            names << in.message;
        const QByteArray block = encodeOutputTimes(c, input);
        for (int slot = 0; slot + 1 < kOutputsPerInput; ++slot) {
            if (block.at(2 * slot + 1) == '\xFF' && block.at(2 * slot + 2) == '\xFE') {
                const OutputControls a = outputControls(input, slot);
                const OutputControls b = outputControls(input, slot + 1);
                names << a.minutes << a.seconds << b.minutes << b.seconds;
            }
        }
    }
    for (int sensor = 1; sensor <= kSensors; ++sensor) {
        const SensorControls s = sensorControls(sensor);
        if (!c.checked(s.enabled))
            continue;
        const QList<QPair<QString, QString>> pairs = { { s.lower, s.upper }, { s.economy, s.comfort } };
        for (const auto& [first, second] : pairs) {
            if (first == s.economy && !c.checked(s.keeping))
                continue;
            if (temperatureByte(c.spinNumber(first)) == '\xFF' && temperatureByte(c.spinNumber(second)) == '\xFE')
                names << first << second;
        }
    }
    return names;
}

} // namespace

QString writeRefusalMessage(WriteRefusal refusal)
{
    switch (refusal) {
    case WriteRefusal::None:
        return {};
    case WriteRefusal::NotANumber:
        return QStringLiteral("Запись не выполнена: в поле %1 должно быть целое число.");
    case WriteRefusal::BadTime:
        return QStringLiteral("Запись не выполнена: время в поле %1 должно иметь вид чч:мм:сс.");
    case WriteRefusal::BadDate:
        return QStringLiteral("Запись не выполнена: в поле %1 должна быть дата вида дд.мм.гг.");
    case WriteRefusal::NoSelection:
        return QStringLiteral("Запись не выполнена: в списке %1 ничего не выбрано.");
    case WriteRefusal::StopMarker:
        return QStringLiteral("Запись не выполнена: значения полей %1 дают байты FF FE (конец пакета). Измените их.");
    }
    return {};
}

QString writeRefusalText(const WriteImage& image, const TextTranslator& tr)
{
    QStringList names;
    for (const QString& control : image.controls) {
        const int field = fieldOfControl(control);
        const QString name = field < 0 ? control : QStringLiteral("«%1»").arg(fieldLabel(field, tr));
        if (!names.contains(name))
            names << name;
    }
    const QString message = writeRefusalMessage(image.refusal);
    return (tr ? tr(message) : message).arg(names.join(QStringLiteral(", ")));
}

QList<int> inputsWithoutMessage(const ControlAccess& c)
{
    QList<int> inputs;
    for (int input = 1; input <= kInputs; ++input) {
        const InputControls in = inputControls(input);
        if (c.checked(in.active) && c.text(in.message).isEmpty())
            inputs << input;
    }
    return inputs;
}

QString missingMessageWarning(const QList<int>& inputs)
{
    QString list;
    for (int input : inputs)
        list += QString::number(input) + QLatin1Char(',');
    // Composed in Russian and translated whole, the input list as a part.
    const QString prefix = inputs.size() == 1 ? QStringLiteral("Не введен текст сообщений на входе:")
                                              : QStringLiteral("Не введен текст сообщений на входах:");
    return prefix + list + QStringLiteral(". Нажмите OK.");
}

QByteArray writtenRecords(const WriteImage& image)
{
    QByteArray records;
    for (qsizetype piece = 1; piece + 1 < image.pieces.size(); ++piece)
        records += image.pieces.at(piece);
    return records;
}

WriteImage encodeWriteImage(const ControlAccess& c, const SharedValues& shared)
{
    WriteImage image;
    Checks check(c);
    checkInputs(check, c);
    checkSensors(check, c);
    checkOptionsAndClock(check, c);
    if (check.refusal() != WriteRefusal::None) {
        image.refusal = check.refusal();
        image.controls = check.names();
        return image;
    }

    QByteArray records;
    for (int piece = 1; piece <= kWritePieces; ++piece) {
        image.pieces << encodeWritePiece(c, shared, piece);
        if (piece > 1 && piece < kWritePieces)
            records += image.pieces.last();
    }
    if (holdsStopMarker(records)) {
        image.pieces.clear();
        image.refusal = WriteRefusal::StopMarker;
        image.controls = stopMarkerSources(c);
        // A marker that no single field explains still stops the write.
        if (image.controls.isEmpty())
            image.controls << QStringLiteral("?");
    }
    return image;
}

} // namespace zarven
