#pragma once
// Control kinds of the settings panels whose behaviour Qt's stock widgets do
// not give by themselves. Check boxes are plain QCheckBox: their toggled()
// signal fires once for every actual change of state, from a click or from
// code, and never when the state does not change, which is exactly when a
// click rule must run. Lists are QComboBox without rules; text boxes are
// QLineEdit (textChanged fires for code and user changes alike).

#include <QAbstractSpinBox>
#include <QLineEdit>

namespace zarven {

// A spin box whose text, not only its number, is the value: the arrows step
// by Increment and stop at the bounds; typing accepts digits and "+"/"-" up
// to MaxLength characters; on leaving the box a number outside the range is
// replaced by the nearer bound; a text that is not a number stays as typed
// and reads as MinValue. textChanged() fires whenever the text changes, from
// the user or from code (this is where change rules attach).
class SpinEdit : public QAbstractSpinBox {
    Q_OBJECT
public:
    SpinEdit(int minValue, int maxValue, int increment, int maxLength, QWidget *parent = nullptr);

    QString text() const;
    void setText(const QString &text);
    // The number the text holds, or MinValue when the text is not a number.
    int value() const;
    void setValue(int value);

    int minValue() const { return min_; }
    int maxValue() const { return max_; }
    int increment() const { return increment_; }
    int maxLength() const { return maxLength_; }

    void stepBy(int steps) override;

signals:
    void textChanged(const QString &text);

protected:
    StepEnabled stepEnabled() const override;
    QValidator::State validate(QString &input, int &pos) const override;
    void fixup(QString &input) const override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    int min_;
    int max_;
    int increment_;
    int maxLength_;
};

// A phone box: the mask "+" followed by 14 optional digits, blank character
// "_", the "+" kept in the text; MaxLength 15.
class PhoneEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit PhoneEdit(QWidget *parent = nullptr);
};

} // namespace zarven
