#include "editor/controls.h"

#include "core/strings.h"

#include <QButtonGroup>
#include <QFocusEvent>
#include <QGridLayout>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStyleOptionButton>
#include <QStylePainter>

namespace zarven {

// ---------------------------------------------------------------- SpinEdit

SpinEdit::SpinEdit(int minValue, int maxValue, int increment, int maxLength, QWidget *parent)
    : QAbstractSpinBox(parent), min_(minValue), max_(maxValue), increment_(increment), maxLength_(maxLength)
{
    // MaxLength is enforced by validate() on typing only; QLineEdit's own
    // limit would also cut texts set by code.
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
    setText(QString::number(qBound(min_, v, max_)));
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
    // Only a move to another control of the window counts as leaving the
    // box: the focus also goes when a message box opens or another program
    // is activated, and the box's text must not change behind the user then.
    const bool leaves = event->reason() != Qt::ActiveWindowFocusReason && event->reason() != Qt::PopupFocusReason;
    if (leaves) {
        emit exited();
        // A number outside the range becomes the nearer bound; a text that
        // is not a number stays as typed.
        if (const auto v = TryStrToInt(text())) {
            if (*v < min_)
                setText(QString::number(min_));
            else if (*v > max_)
                setText(QString::number(max_));
        }
    }
    QAbstractSpinBox::focusOutEvent(event);
}

// --------------------------------------------------------------- PhoneEdit

namespace {
constexpr int kPhonePlaces = 14;
}

PhoneEdit::PhoneEdit(QWidget *parent) : QLineEdit(parent)
{
    // "+" is a literal; each "0" is an optional digit shown as "_" while blank.
    setInputMask(QStringLiteral("+00000000000000;_"));
    setMaxLength(15);
    connect(this, &QLineEdit::textEdited, this, &PhoneEdit::closeGaps);
}

void PhoneEdit::closeGaps()
{
    const QString shown = text();
    const int cursor = cursorPosition();
    QString digits;
    int digitsBeforeCursor = 0;
    for (int i = 1; i < shown.size(); ++i) {
        if (!shown[i].isDigit())
            continue;
        digits += shown[i];
        if (i < cursor)
            ++digitsBeforeCursor;
    }
    if (QLatin1Char('+') + digits.leftJustified(kPhonePlaces, QLatin1Char(' ')) == shown)
        return;
    setText(digits);
    setCursorPosition(1 + digitsBeforeCursor);
}

void PhoneEdit::keepCursorInNumber()
{
    if (hasSelectedText())
        return;
    // Right after the last digit: the "+" and the digits.
    const int end = int(text().trimmed().size());
    if (cursorPosition() > end)
        setCursorPosition(end);
}

void PhoneEdit::mousePressEvent(QMouseEvent *event)
{
    QLineEdit::mousePressEvent(event);
    keepCursorInNumber();
}

void PhoneEdit::mouseReleaseEvent(QMouseEvent *event)
{
    QLineEdit::mouseReleaseEvent(event);
    keepCursorInNumber();
}

QString PhoneEdit::text() const
{
    // QLineEdit::text() drops blank places, which would close a gap; the
    // shown text keeps every place.
    QString shown = displayText();
    shown.replace(QLatin1Char('_'), QLatin1Char(' '));
    return shown;
}

void PhoneEdit::setText(const QString &text)
{
    QString rest = text.startsWith(QLatin1Char('+')) ? text.mid(1) : text;
    rest.truncate(kPhonePlaces);
    for (QChar &c : rest) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            c = QLatin1Char('_');
    }
    QLineEdit::setText(QLatin1Char('+') + rest);
}

// -------------------------------------------------------------- RadioGroup

RadioGroup::RadioGroup(const QString &name, const QString &title, const QStringList &entries, int columns,
                       QWidget *parent)
    : QGroupBox(title, parent), group_(new QButtonGroup(this))
{
    setObjectName(name);
    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(4, 2, 2, 2);
    grid->setSpacing(2);
    const int rows = (int(entries.size()) + columns - 1) / qMax(columns, 1);
    for (int i = 0; i < entries.size(); ++i) {
        auto *b = new QRadioButton(entries[i], this);
        b->setObjectName(objectName() + QStringLiteral("_item%1").arg(i));
        group_->addButton(b, i);
        // Entries run down the first column, then down the next.
        grid->addWidget(b, i % rows, i / rows);
    }
    for (int c = 0; c < columns; ++c)
        grid->setColumnStretch(c, 1);
}

int RadioGroup::itemIndex() const
{
    return group_->checkedId();
}

void RadioGroup::setItemIndex(int index)
{
    // An exclusive group cannot uncheck its checked button; "none selected"
    // needs exclusivity off for a moment.
    group_->setExclusive(false);
    for (QAbstractButton *b : group_->buttons())
        b->setChecked(group_->id(b) == index);
    group_->setExclusive(true);
}

int RadioGroup::count() const
{
    return int(group_->buttons().size());
}

QRadioButton *RadioGroup::button(int index) const
{
    return qobject_cast<QRadioButton *>(group_->button(index));
}

// ----------------------------------------------------------- AssignmentBox

AssignmentBox::AssignmentBox(const QString &caption, QWidget *parent) : QCheckBox(caption, parent)
{
}

void AssignmentBox::setCover(QWidget *cover)
{
    cover_ = cover;
    update();
}

int AssignmentBox::tailX() const
{
    if (!cover_ || tail().isEmpty())
        return -1;
    return cover_->geometry().right() + 4 - x();
}

QSize AssignmentBox::sizeHint() const
{
    QSize hint = QCheckBox::sizeHint();
    if (tailX() < 0)
        return hint;
    QStyleOptionButton opt;
    initStyleOption(&opt);
    opt.text = head();
    const QSize headNeed = style()->sizeFromContents(QStyle::CT_CheckBox, &opt,
                                                     QSize(fontMetrics().horizontalAdvance(opt.text),
                                                           fontMetrics().height()),
                                                     this);
    const int room = cover_->x() - x();
    hint.setWidth(width() + qMax(0, headNeed.width() - room));
    return hint;
}

QString AssignmentBox::head() const
{
    const QString full = text();
    qsizetype cut = full.lastIndexOf(QLatin1Char(' '));
    if (cut < 0)
        return full;
    while (cut > 0 && full[cut - 1] == QLatin1Char(' '))
        --cut;
    return full.left(cut);
}

QString AssignmentBox::tail() const
{
    const QString full = text();
    const qsizetype cut = full.lastIndexOf(QLatin1Char(' '));
    return cut < 0 ? QString() : full.mid(cut + 1);
}

void AssignmentBox::paintEvent(QPaintEvent *event)
{
    const QString last = tail();
    const int at = tailX();
    if (at < 0) {
        QCheckBox::paintEvent(event);
        return;
    }
    QStylePainter p(this);
    QStyleOptionButton opt;
    initStyleOption(&opt);
    opt.text = head();
    p.drawControl(QStyle::CE_CheckBox, opt);
    const QRect tailRect(at, 0, width() - at, height());
    style()->drawItemText(&p, tailRect, Qt::AlignLeft | Qt::AlignVCenter, palette(), isEnabled(), last,
                          QPalette::WindowText);
}

} // namespace zarven
