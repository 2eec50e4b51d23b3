#pragma once
// Control kinds of the settings panels whose behaviour Qt's stock widgets do
// not give by themselves. Check boxes are plain QCheckBox: their toggled()
// signal fires once for every actual change of state, from a click or from
// code, and never when the state does not change, which is exactly when a
// click rule must run. Lists are QComboBox with no rule attached, so
// selecting an entry from code runs nothing. Text boxes are QLineEdit.

#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>

class QButtonGroup;
class QRadioButton;

namespace zarven {

// A spin box whose text, not only its number, is the value: the arrows step
// by Increment and stop at the bounds; typing accepts digits and "+"/"-" up
// to MaxLength characters; on leaving the box a number outside the range is
// replaced by the nearer bound; a text that is not a number stays as typed
// and reads as MinValue. textChanged() fires whenever the text changes, from
// the user or from code (change rules attach there); exited() fires when the
// user leaves the box for another control of the window.
class SpinEdit : public QAbstractSpinBox {
    Q_OBJECT
public:
    SpinEdit(int minValue, int maxValue, int increment, int maxLength, QWidget *parent = nullptr);

    // The text as shown. setText() takes any text as it is: MaxLength limits
    // typing only, so a longer text set by code (a four-digit minutes value
    // read from the controller) is neither cut nor refused.
    QString text() const;
    void setText(const QString &text);
    // The number the text holds, or MinValue when the text is not a number.
    int value() const;
    // Shows the value clamped to MinValue..MaxValue, as the arrows would.
    void setValue(int value);

    int minValue() const { return min_; }
    int maxValue() const { return max_; }
    int increment() const { return increment_; }
    int maxLength() const { return maxLength_; }

    void stepBy(int steps) override;

signals:
    void textChanged(const QString &text);
    void exited();

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
// "_", the "+" kept in the text; MaxLength 15. The digits always stand
// together after the "+": deleting one closes the gap, and a click into the
// blank part puts the cursor right after the last digit, so that what the
// box shows is the number that is written and saved.
class PhoneEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit PhoneEdit(QWidget *parent = nullptr);

    // Always 15 characters: "+" and the 14 places, a blank place as a space
    // ("+7" followed by 13 spaces for a box holding only 7).
    QString text() const;
    // A leading "+" is the mask's own; of the rest, the first 14 characters
    // fill the places in order, a digit as itself and anything else as a
    // blank.
    void setText(const QString &text);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void closeGaps();
    void keepCursorInNumber();
};

// A fixed list of radio buttons in a titled frame, laid out in columns; one
// entry or none (index -1) is selected. Selecting from code runs no rule.
class RadioGroup : public QGroupBox {
    Q_OBJECT
public:
    // The buttons are named after the group: name + "_item" + index.
    RadioGroup(const QString &name, const QString &title, const QStringList &entries, int columns,
               QWidget *parent = nullptr);

    int itemIndex() const;
    void setItemIndex(int index);
    int count() const;
    QRadioButton *button(int index) const;

private:
    QButtonGroup *group_;
};

// An output row's assignment box. Its caption reaches under the row's
// minutes box, so that the caption's last word ("мин") stands after that
// box: the words before the run of blanks are drawn at the box's left as
// usual, the last word just right of the covering box. text() stays the
// whole caption.
class AssignmentBox : public QCheckBox {
    Q_OBJECT
public:
    explicit AssignmentBox(const QString &caption, QWidget *parent = nullptr);

    // The sibling laid over the caption's blanks; without one the caption
    // is drawn in one piece.
    void setCover(QWidget *cover);
    // Where the last word starts, in the box's own coordinates; -1 when the
    // caption is drawn in one piece.
    int tailX() const;
    // The caption split at its last blank: the words before it (trailing
    // blanks dropped) and the last word.
    QString head() const;
    QString tail() const;

    // Wider than the box when the head does not fit before the covering
    // box, so that whoever fits captions to their boxes shrinks the font.
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QWidget *cover_ = nullptr;
};

} // namespace zarven
