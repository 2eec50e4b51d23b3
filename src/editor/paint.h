#pragma once
// How the panel rules colour and enable controls, and how tests read it back.
// A colour is the control's background: the panel or check box face, or the
// field of an edit, spin or list box. A caption colour is a check box's text.

#include <QColor>
#include <QFont>

class QWidget;

namespace zarven {

// Paints the control's background. Panels and check boxes fill their face;
// edit, spin and list boxes colour their field. The colour holds in every
// state, disabled included, as the window was designed.
void setBackground(QWidget *w, const QColor &colour);
QColor background(const QWidget *w);

// Colours a caption. A disabled control still draws its caption greyed, so
// that a disabled box looks disabled whatever colour its caption has.
void setCaptionColor(QWidget *w, const QColor &colour);
QColor captionColor(const QWidget *w);

// The control's own enabled state, whatever its panels' state: a control
// inside a disabled panel is unusable, yet keeps its own state and is usable
// again when the panel is enabled.
bool ownEnabled(const QWidget *w);

// The font of the settings panels: the small sans-serif face the window was
// designed with, or the nearest the system has.
QFont panelFont();
QFont panelTitleFont();

} // namespace zarven
