#include "editor/phone_panel.h"

#include "editor/controls.h"
#include "editor/paint.h"
#include "editor/palette.h"
#include "editor/panel_parts.h"
#include "editor/rule_hook.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>

namespace zarven {

using namespace palette;

PhonePanel::PhonePanel(std::shared_ptr<const RuleHook> hook, QWidget *parent) : QFrame(parent), hook_(std::move(hook))
{
    setObjectName(QStringLiteral("Panel4"));
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setFont(panelFont());
    setBackground(this, clInfoBk);

    title = addTitle(this, QStringLiteral("Label_tel"), QStringLiteral("Список телефонов для вызова"),
                     {8, 5, 240, 16});
    PhoneEdit **boxes[5] = {&ME_tel1, &ME_tel2, &ME_tel3, &ME_tel4, &ME_tel5};
    for (int i = 0; i < 5; ++i) {
        const int y = 23 + i * 22;
        const QString k = QString::number(i + 1);
        addLabel(this, QStringLiteral("Label_tel") + k, QStringLiteral("Номер %1 --").arg(k), {8, y + 3, 66, 16});
        auto *box = new PhoneEdit(this);
        box->setObjectName(QStringLiteral("ME_tel") + k);
        box->setGeometry(76, y, 130, 20);
        box->setText(QStringLiteral("+7             "));
        *boxes[i] = box;
    }
    CheckBox_SMS_All = addCheckBox(this, QStringLiteral("CheckBox_SMS_All"),
                                   QStringLiteral("Отправлять SMS на все номера"), {8, 133, 240, 17}, false);
    addLabel(this, QStringLiteral("Label_date"), QStringLiteral("Дата"), {8, 154, 30, 16});
    Edit_Date = addEdit(this, QStringLiteral("Edit_Date"), {38, 152, 66, 20}, 0);
    Edit_Date->setReadOnly(true);
    setBackground(Edit_Date, clInfoBk);
    addLabel(this, QStringLiteral("Label_time"), QStringLiteral("Время"), {112, 154, 38, 16});
    Edit_time = addEdit(this, QStringLiteral("Edit_time"), {150, 152, 100, 20}, 0);
    setBackground(Edit_time, clInfoBk);
    CheckBox4 = addCheckBox(this, QStringLiteral("CheckBox4"), QStringLiteral("Дата-Время (Авто/ручное)"),
                            {8, 171, 240, 17}, true);

    // The boxes start as the ticked box's rule makes them: read-only, the
    // clock fills them.
    Edit_time->setReadOnly(CheckBox4->isChecked());
    connect(CheckBox4, &QCheckBox::toggled, this, [this] { CheckBox4Click(); });
}

void PhonePanel::CheckBox4Click()
{
    hook_->ran(QStringLiteral("CheckBox4Click"));
    const bool automatic = CheckBox4->isChecked();
    for (QLineEdit *box : {Edit_time, Edit_Date}) {
        box->setReadOnly(automatic);
        setBackground(box, automatic ? clInfoBk : clWindow);
    }
    // Day, month and two-digit year with dots, whatever the system's date
    // settings: the settings image carries this text as it stands.
    if (automatic)
        Edit_Date->setText(today().toString(QStringLiteral("dd.MM.yy")));
}

void PhonePanel::clockTick(const QString &timeText)
{
    if (CheckBox4->isChecked())
        Edit_time->setText(timeText);
}

} // namespace zarven
