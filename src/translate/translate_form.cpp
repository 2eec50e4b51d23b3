// TranslateForm: the walk over the window's components.
//
// The window owns its components as a tree of QObject children; each parent
// keeps its children in the order they were created, so a depth-first walk
// (a component, then what it holds) visits them in the window's creation
// order. Each component kind maps to one row of what is translated:
//
//   menu item     QAction text; a QMenu's title (a submenu is a menu item
//                 too); separators and the main menu bar itself are skipped
//   button        QPushButton, QToolButton: text
//   panel         a plain QWidget/QFrame has no caption of its own; a panel
//                 that shows a caption does so through a QLabel child (a
//                 label, below) or is a QGroupBox
//   group box     QGroupBox title, then its contents; a radio group is a
//                 group box of radio buttons, so its caption comes first and
//                 then each entry in order
//   label         QLabel text, except labels that show a picture
//   edit box      QLineEdit, QPlainTextEdit, QTextEdit: the tool-tip only,
//                 never the content
//   check box     QCheckBox text; QRadioButton text (an entry)
//   list          QComboBox entries, the selected entry kept selected
//   file dialog   QFileDialog window title
//
// Left alone, with everything inside them: controls marked with
// keepOutOfTranslation (the port list, the signal reading), spin boxes (their texts and
// tool-tips), the status bar and its panels, item views (the key grid),
// progress bars (gauges), sliders, timers and other non-widget objects.

#include "translate/translation.h"

#include "core/application_title.h"
#include "core/message_boxes.h"
#include "translate/profile_file.h"

#include <QAbstractItemView>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTextEdit>
#include <QToolButton>

namespace zarven {

namespace {

const char kKeepOutOfTranslation[] = "zarvenKeepOutOfTranslation";

class FormTranslator {
public:
    FormTranslator(const ProfileFile &dictionary, const QString &section)
        : dictionary_(dictionary), section_(section)
    {
    }

    void walk(QObject *owner)
    {
        // A copy: the list must not change under the loop.
        const QObjectList children = owner->children();
        for (QObject *child : children) {
            if (translate(child))
                walk(child);
        }
    }

    QString lookup(const QString &text) const { return LookupTranslation(text, section_, dictionary_); }

private:
    // Translates one component; returns whether its children are walked.
    bool translate(QObject *object) const
    {
        if (auto *action = qobject_cast<QAction *>(object)) {
            // A menu's own action carries the menu's title, which the menu
            // itself translates.
            auto *menu = qobject_cast<QMenu *>(action->parent());
            if (!action->isSeparator() && !(menu && menu->menuAction() == action))
                action->setText(lookup(action->text()));
            return false;
        }
        if (!object->isWidgetType() || object->property(kKeepOutOfTranslation).toBool())
            return false;

        if (auto *menu = qobject_cast<QMenu *>(object)) {
            menu->setTitle(lookup(menu->title()));
            return true;
        }
        if (qobject_cast<QMenuBar *>(object))
            return true;
        if (qobject_cast<QStatusBar *>(object) || qobject_cast<QAbstractSpinBox *>(object)
            || qobject_cast<QAbstractItemView *>(object) || qobject_cast<QProgressBar *>(object)
            || qobject_cast<QAbstractSlider *>(object))
            return false;
        if (auto *dialog = qobject_cast<QFileDialog *>(object)) {
            dialog->setWindowTitle(lookup(dialog->windowTitle()));
            return false;
        }
        if (qobject_cast<QLineEdit *>(object) || qobject_cast<QPlainTextEdit *>(object)
            || qobject_cast<QTextEdit *>(object)) {
            auto *edit = static_cast<QWidget *>(object);
            edit->setToolTip(lookup(edit->toolTip()));
            return false;
        }
        if (auto *combo = qobject_cast<QComboBox *>(object)) {
            translateList(combo);
            return false;
        }
        if (auto *button = qobject_cast<QAbstractButton *>(object)) {
            button->setText(lookup(button->text()));
            return false;
        }
        if (auto *group = qobject_cast<QGroupBox *>(object)) {
            group->setTitle(lookup(group->title()));
            return true;
        }
        if (auto *label = qobject_cast<QLabel *>(object)) {
            if (label->pixmap().isNull())
                label->setText(lookup(label->text()));
            return false;
        }
        return true;
    }

    void translateList(QComboBox *combo) const
    {
        const int selected = combo->currentIndex();
        for (int i = 0; i < combo->count(); ++i)
            combo->setItemText(i, lookup(combo->itemText(i)));
        if (combo->currentIndex() != selected)
            combo->setCurrentIndex(selected);
    }

    const ProfileFile &dictionary_;
    QString section_;
};

} // namespace

void keepOutOfTranslation(QWidget *control)
{
    control->setProperty(kKeepOutOfTranslation, true);
}

void TranslateForm(QWidget *window, const QString &section, const QString &path, MessageBoxes &boxes)
{
    if (window == nullptr)
        return;
    const ProfileFile dictionary(path);
    if (!dictionary.exists())
        boxes.show(BoxKind::Plain, QStringLiteral("No exists") + path);
    FormTranslator translator(dictionary, section);
    window->setWindowTitle(translator.lookup(window->windowTitle()));
    setApplicationTitle(translator.lookup(applicationTitle()));
    translator.walk(window);
}

} // namespace zarven
