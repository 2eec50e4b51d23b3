#pragma once
// The colours the panel rules paint with.

#include <QColor>

namespace zarven::palette {

inline const QColor clGreen{0, 128, 0};
inline const QColor clRed{255, 0, 0};
inline const QColor clMoneyGreen{192, 220, 192};
inline const QColor clMedGray{160, 160, 164};
inline const QColor clGray{128, 128, 128};
inline const QColor clOlive{128, 128, 0};
inline const QColor clYellow{255, 255, 0};
inline const QColor clBlack{0, 0, 0};
// The system colours as the window draws them on every platform.
inline const QColor clWindow{255, 255, 255};       // an enabled input field
inline const QColor clActiveBorder{180, 180, 180}; // a disabled input field
inline const QColor clInfoBk{255, 255, 225};       // read-only date and time, the left panels
inline const QColor clWindowText{0, 0, 0};

} // namespace zarven::palette
