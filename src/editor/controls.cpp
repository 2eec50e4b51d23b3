#include "editor/controls.h"

#include "app/strings.h"

#include <QFocusEvent>
#include <QLineEdit>
#include <QRegularExpression>

namespace zarven {

SpinEdit::SpinEdit(int minValue, int maxValue, int increment, int maxLength, QWidget *parent)
    : QAbstractSpinBox(parent), min_(minValue), max_(maxValue), increment_(increment), maxLength_(maxLength)
{
    lineEdit()->setMaxLength(maxLength_);
    // Out-of-range numbers are corrected when the box is left, not while typing.
    setCorrectionMode(QAbstractSpinBox::CorrectToPreviousValue);
    setKeyboardTracking(true);
    connect(lineEdit(), &QLineEdit::textChanged, this, &SpinEdit::textChanged);
}

QString SpinEdit::text() const
{
    return lineEdit()->text();
}

void SpinEdit::setText(const QString &text)
{
    if (lineEdit()->text() == text)
        return;
    lineEdit()->setText(text);
    update();
}

int SpinEdit::value() const
{
    const auto v = TryStrToInt(text());
    return v ? *v : min_;
}

void SpinEdit::setValue(int v)
{
    setText(QString::number(v));
}

void SpinEdit::stepBy(int steps)
{
    const qint64 next = qint64(value()) + qint64(steps) * increment_;
    setValue(int(qBound(qint64(min_), next, qint64(max_))));
    lineEdit()->selectAll();
}

QAbstractSpinBox::StepEnabled SpinEdit::stepEnabled() const
{
    if (isReadOnly() || !isEnabled())
        return StepNone;
    const int v = value();
    StepEnabled e = StepNone;
    if (v < max_)
        e |= StepUpEnabled;
    if (v > min_)
        e |= StepDownEnabled;
    return e;
}

QValidator::State SpinEdit::validate(QString &input, int &) const
{
    if (input.size() > maxLength_)
        return QValidator::Invalid;
    static const QRegularExpression allowed(QStringLiteral("^[0-9+-]*$"));
    return allowed.match(input).hasMatch() ? QValidator::Acceptable : QValidator::Invalid;
}

void SpinEdit::fixup(QString &) const
{
}

void SpinEdit::focusOutEvent(QFocusEvent *event)
{
    // A number outside the range becomes the nearer bound; a text that is
    // not a number stays as typed.
    if (const auto v = TryStrToInt(text())) {
        if (*v < min_)
            setValue(min_);
        else if (*v > max_)
            setValue(max_);
    }
    QAbstractSpinBox::focusOutEvent(event);
}

PhoneEdit::PhoneEdit(QWidget *parent) : QLineEdit(parent)
{
    // "+" is a literal; each "0" is an optional digit shown as "_" while blank.
    setInputMask(QStringLiteral("+00000000000000;_"));
    setMaxLength(15);
}

} // namespace zarven
