#pragma once
// The application title "Зарвен-4": the title of the message boxes, set at
// start and translated with the window. The program keeps it itself: as
// Qt's application display name the X11 platform would append it to every
// window title.

#include <QString>

namespace zarven {

QString applicationTitle();
void setApplicationTitle(const QString &title);

} // namespace zarven
