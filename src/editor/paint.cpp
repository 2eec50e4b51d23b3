#include "editor/paint.h"

#include <QAbstractSpinBox>
#include <QComboBox>
#include <QLineEdit>
#include <QWidget>

namespace zarven {

namespace {

// Fields draw their background with the Base role; the face of a list box
// that cannot be typed into is drawn with the Button role by some styles.
bool isField(const QWidget *w)
{
    return qobject_cast<const QLineEdit *>(w) || qobject_cast<const QAbstractSpinBox *>(w)
        || qobject_cast<const QComboBox *>(w);
}

} // namespace

void setBackground(QWidget *w, const QColor &colour)
{
    QPalette pal = w->palette();
    if (isField(w)) {
        pal.setColor(QPalette::Base, colour);
        if (qobject_cast<QComboBox *>(w))
            pal.setColor(QPalette::Button, colour);
    } else {
        // A panel fills with the Window role, a check box with the Button
        // role: each with its own background role.
        pal.setColor(w->backgroundRole(), colour);
        w->setAutoFillBackground(true);
    }
    w->setPalette(pal);
}

QColor background(const QWidget *w)
{
    return w->palette().color(QPalette::Active, isField(w) ? QPalette::Base : w->backgroundRole());
}

void setCaptionColor(QWidget *w, const QColor &colour)
{
    QPalette pal = w->palette();
    pal.setColor(QPalette::Active, QPalette::WindowText, colour);
    pal.setColor(QPalette::Inactive, QPalette::WindowText, colour);
    w->setPalette(pal);
}

QColor captionColor(const QWidget *w)
{
    return w->palette().color(QPalette::Active, QPalette::WindowText);
}

bool ownEnabled(const QWidget *w)
{
    return !w->testAttribute(Qt::WA_ForceDisabled);
}

QFont panelFont()
{
    QFont f;
    f.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif"), QStringLiteral("Tahoma"),
                   QStringLiteral("Arial"), QStringLiteral("Liberation Sans"), QStringLiteral("Nimbus Sans"),
                   QStringLiteral("Helvetica")});
    f.setStyleHint(QFont::SansSerif);
    f.setPixelSize(11);
    return f;
}

QFont panelTitleFont()
{
    QFont f = panelFont();
    f.setBold(true);
    return f;
}

} // namespace zarven
