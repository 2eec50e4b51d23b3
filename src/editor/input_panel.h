#pragma once
// One input's panel ("Вход 1" … "Вход 4"): activation, message, input type,
// 24-hour control and the output sub-panel with its four output rows, and
// the rules that keep them consistent. The four inputs are four instances;
// every control is named as in the window's catalogue with the input's digit
// (CheckBox_in2, RG_OUT2S, Edit_OUT42m, CheckBox313 …).

#include <QFrame>
#include <QPointer>
#include <memory>
#include <array>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

namespace zarven {

class AssignmentBox;
class RuleHook;
class SpinEdit;

class InputPanel : public QFrame {
    Q_OBJECT
public:
    // One output of the input: its assignment box, on-time in minutes and
    // seconds, and "Вкл. всегда".
    struct OutputRow {
        QChar output; // '1' relay 2, 'S' siren output, '2' output 2, '3' relay 1
        AssignmentBox *assign = nullptr;
        SpinEdit *minutes = nullptr;
        SpinEdit *seconds = nullptr;
        QCheckBox *alwaysOn = nullptr;
    };

    InputPanel(int input, std::shared_ptr<const RuleHook> hook, QWidget *parent = nullptr);

    int input() const { return input_; }

    // The use-outputs rule disables the relay 2 assignment while this box
    // (temperature keeping of sensor 1, which drives relay 2) is ticked. It
    // is looked at only when that rule runs.
    void setRelay2Lock(const QCheckBox *keepingOfSensor1) { relay2Lock_ = keepingOfSensor1; }

    // The row of an output ('1', 'S', '2' or '3'); throws AppError for any other.
    OutputRow &row(QChar output);
    const OutputRow &row(QChar output) const;

    QLabel *title = nullptr;
    QCheckBox *activeBox = nullptr;     // CheckBox_inN "Активировать"
    QCheckBox *ctrl24Box = nullptr;     // CB_ctrl_24_N
    QLineEdit *messageEdit = nullptr;   // EditN
    QComboBox *typeList = nullptr;      // CBox_INN
    QCheckBox *useOutputsBox = nullptr; // CheckBox_N1, hidden
    QLabel *timeNote = nullptr;
    QFrame *outputPanel = nullptr; // PanelN_2
    // Top to bottom: siren output, output 2, relay 1, relay 2.
    std::array<OutputRow, 4> rows;

    // The rules, named after the handlers they are in the window.
    void activeClick();                // CheckBox_inNClick
    void useOutputsClick();            // CheckBox_N1Click
    void assignClick(OutputRow &row);  // RG_OUTNoClick
    void alwaysOnClick(OutputRow &row); // CheckBoxN1oClick
    void minutesExit(OutputRow &row);  // Edit_OUTNomExit

private:
    void buildRows();
    void connectRules();
    QString handler(const QString &control, const char *event) const;

    int input_;
    std::shared_ptr<const RuleHook> hook_;
    QPointer<const QCheckBox> relay2Lock_;
};

} // namespace zarven
