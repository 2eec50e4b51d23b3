#pragma once
// Names of the settings controls that come in families (four inputs with four
// outputs each, two temperature sensors, five telephone boxes). The settings
// image and the configuration file name every control through these.

#include <QString>

namespace zarven {

// Number of inputs, outputs per input, sensors and telephone boxes.
inline constexpr int kInputs = 4;
inline constexpr int kOutputsPerInput = 4;
inline constexpr int kSensors = 2;
inline constexpr int kPhones = 5;

struct InputControls {
    QString active;      // CheckBox_in1 "Активировать"
    QString message;     // Edit1
    QString type;        // CBox_IN1
    QString control24;   // CB_ctrl_24_1
    QString useOutputs;  // CheckBox_11 (hidden)
};

// input is 1 to 4.
InputControls inputControls(int input);

struct OutputControls {
    QString assignment; // RG_OUT11
    QString alwaysOn;   // CheckBox111
    QString minutes;    // Edit_OUT11m
    QString seconds;    // Edit_OUT11s
};

// The output in block order (slot 0 to 3): relay 2, the siren output,
// output 2, relay 1. This is the order of the output times in the settings
// image and the configuration file, not the order of the rows on screen.
OutputControls outputControls(int input, int slot);

struct SensorControls {
    QString enabled;        // CheckBox_td1
    QString lower;          // SE_min_td1
    QString upper;          // SE_max_td1
    QString keeping;        // CheckBox_td11
    QString economy;        // SE_Min_td11
    QString comfort;        // SE_max_td11
    QString autoRegulation; // CheckBox_td1_auto
    QString output;         // CB_td1_out
};

// sensor is 1 or 2.
SensorControls sensorControls(int sensor);

// phone1 to phone5; k is 1 to 5.
QString phoneControl(int k);

// inputDelayBox1 to inputDelayBox4; input is 1 to 4.
QString delayControl(int input);

} // namespace zarven
