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
    PhoneEdit **boxes[5] = {&phone1, &phone2, &phone3, &phone4, &phone5};
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
    smsToAllBox = addCheckBox(this, QStringLiteral("CheckBox_SMS_All"),
                                   QStringLiteral("Отправлять SMS на все номера"), {8, 133, 240, 17}, false);
    addLabel(this, QStringLiteral("Label_date"), QStringLiteral("Дата"), {8, 154, 30, 16});
    dateEdit = addEdit(this, QStringLiteral("Edit_Date"), {38, 152, 66, 20}, 0);
    dateEdit->setReadOnly(true);
    setBackground(dateEdit, clInfoBk);
    addLabel(this, QStringLiteral("Label_time"), QStringLiteral("Время"), {112, 154, 38, 16});
    timeEdit = addEdit(this, QStringLiteral("Edit_time"), {150, 152, 100, 20}, 0);
    setBackground(timeEdit, clInfoBk);
    autoDateTimeBox = addCheckBox(this, QStringLiteral("CheckBox4"), QStringLiteral("Дата-Время (Авто/ручное)"),
                            {8, 171, 240, 17}, true);

    // The boxes start as the ticked box's rule makes them: read-only, the
    // clock fills them.
    timeEdit->setReadOnly(autoDateTimeBox->isChecked());
    connect(autoDateTimeBox, &QCheckBox::toggled, this, [this] { applyDateTimeRule(); });
}

void PhonePanel::applyDateTimeRule()
{
    hook_->ran(QStringLiteral("CheckBox4Click"));
    const bool automatic = autoDateTimeBox->isChecked();
    for (QLineEdit *box : {timeEdit, dateEdit}) {
        box->setReadOnly(automatic);
        setBackground(box, automatic ? clInfoBk : clWindow);
    }
    // Day, month and two-digit year with dots, whatever the system's date
    // settings: the settings image carries this text as it stands.
    if (automatic)
        dateEdit->setText(today().toString(QStringLiteral("dd.MM.yy")));
}

void PhonePanel::clockTick(const QString &timeText)
{
    // The date follows the clock too: a window left open past midnight must
    // not pair yesterday's date with today's time.
    if (autoDateTimeBox->isChecked()) {
        timeEdit->setText(timeText);
        dateEdit->setText(today().toString(QStringLiteral("dd.MM.yy")));
    }
}

} // namespace zarven
