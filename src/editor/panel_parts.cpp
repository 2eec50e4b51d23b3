#include "editor/panel_parts.h"

#include "core/cp1251.h"

#include "editor/controls.h"
#include "editor/paint.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>

namespace zarven {

QLabel *addLabel(QWidget *parent, const QString &name, const QString &text, const QRect &place)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(name);
    l->setGeometry(place);
    return l;
}

QLabel *addTitle(QWidget *parent, const QString &name, const QString &text, const QRect &place)
{
    QLabel *l = addLabel(parent, name, text, place);
    l->setFont(panelTitleFont());
    return l;
}

QCheckBox *addCheckBox(QWidget *parent, const QString &name, const QString &caption, const QRect &place,
                       bool ticked)
{
    auto *b = new QCheckBox(caption, parent);
    b->setObjectName(name);
    b->setGeometry(place);
    b->setChecked(ticked);
    return b;
}

SpinEdit *addSpinEdit(QWidget *parent, const QString &name, int minValue, int maxValue, int increment,
                      int maxLength, const QRect &place, int value)
{
    auto *s = new SpinEdit(minValue, maxValue, increment, maxLength, parent);
    s->setObjectName(name);
    s->setGeometry(place);
    s->setValue(value);
    return s;
}

QComboBox *addList(QWidget *parent, const QString &name, const QStringList &entries, const QRect &place,
                   int index)
{
    auto *c = new QComboBox(parent);
    c->setObjectName(name);
    c->setEditable(false);
    c->addItems(entries);
    c->setGeometry(place);
    c->setCurrentIndex(index);
    return c;
}

QLineEdit *addEdit(QWidget *parent, const QString &name, const QRect &place, int maxLength)
{
    auto *e = new QLineEdit(parent);
    e->setObjectName(name);
    e->setGeometry(place);
    // What the user types or pastes goes into the settings image and the
    // configuration file: a line break or 1A there would end the record or
    // the file early. Such characters, and those code page 1251 cannot hold,
    // are taken out at once; texts set by code (from the controller or a
    // file) are kept as they are.
    QObject::connect(e, &QLineEdit::textEdited, e, [e](const QString &t) {
        const QString kept = cp1251PrintableOnly(t);
        if (kept == t)
            return;
        const int removedBeforeCursor = int(e->cursorPosition() - cp1251PrintableOnly(t.left(e->cursorPosition())).size());
        const int cursor = e->cursorPosition() - removedBeforeCursor;
        e->setText(kept);
        e->setCursorPosition(cursor);
    });
    if (maxLength > 0) {
        e->setMaxLength(maxLength);
        // A text set by code may be longer than MaxLength; the limit then
        // stands at its length, so typing adds nothing, and comes back to
        // MaxLength as the text shrinks.
        QObject::connect(e, &QLineEdit::textChanged, e,
                         [e, maxLength](const QString &t) { e->setMaxLength(qMax(maxLength, int(t.size()))); });
    }
    return e;
}

QFrame *addPanel(QWidget *parent, const QString &name, const QRect &place)
{
    auto *f = new QFrame(parent);
    f->setObjectName(name);
    f->setFrameStyle(QFrame::Panel | QFrame::Raised);
    f->setLineWidth(1);
    f->setGeometry(place);
    return f;
}

} // namespace zarven
