#pragma once
// Writes the window's settings as a configuration file: numbered records,
// each a header "#NN", its field lines and a trailer "//#NN", then the
// closing block. Lines end with CR LF; texts are code page 1251; the
// output-time lines hold two raw bytes.

#include "config_file/session_stamp.h"

#include <QByteArray>

namespace zarven {

class ControlAccess;

// The whole file for the controls as they are now, closing with stamp.
//
// Lists without a selection: an input type is written "-" and a keeping
// output or the output at arming "-1", as the format defines; the arming
// level ("#20") and the arming state output ("#37") are written "-", which
// the loader takes as no selection and as no change, respectively.
QByteArray encodeConfiguration(const ControlAccess &controls, const SessionStamp &stamp);

} // namespace zarven
