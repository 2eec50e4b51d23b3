#include "settings/control_names.h"

namespace zarven {

InputControls inputControls(int input)
{
    const QString n = QString::number(input);
    return {
        QStringLiteral("CheckBox_in") + n,
        QStringLiteral("Edit") + n,
        QStringLiteral("CBox_IN") + n,
        QStringLiteral("CB_ctrl_24_") + n,
        QStringLiteral("CheckBox_") + n + QLatin1Char('1'),
    };
}

OutputControls outputControls(int input, int slot)
{
    static const char kSuffix[kOutputsPerInput] = {'1', 'S', '2', '3'};
    const QString n = QString::number(input);
    const QString id = n + QLatin1Char(kSuffix[slot]);
    return {
        QStringLiteral("RG_OUT") + id,
        QStringLiteral("CheckBox") + n + QLatin1Char('1') + QLatin1Char(kSuffix[slot]),
        QStringLiteral("Edit_OUT") + id + QLatin1Char('m'),
        QStringLiteral("Edit_OUT") + id + QLatin1Char('s'),
    };
}

SensorControls sensorControls(int sensor)
{
    const QString n = QString::number(sensor);
    return {
        QStringLiteral("CheckBox_td") + n,
        QStringLiteral("SE_min_td") + n,
        QStringLiteral("SE_max_td") + n,
        QStringLiteral("CheckBox_td") + n + QLatin1Char('1'),
        QStringLiteral("SE_Min_td") + n + QLatin1Char('1'),
        QStringLiteral("SE_max_td") + n + QLatin1Char('1'),
        QStringLiteral("CheckBox_td") + n + QStringLiteral("_auto"),
        QStringLiteral("CB_td") + n + QStringLiteral("_out"),
    };
}

QString phoneControl(int k)
{
    return QStringLiteral("ME_tel") + QString::number(k);
}

QString delayControl(int input)
{
    return QStringLiteral("CB_delay") + QString::number(input);
}

} // namespace zarven
