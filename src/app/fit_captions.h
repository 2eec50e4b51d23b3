#pragma once
// Keeps every caption of the window's fixed layout whole: a label, check box,
// radio button, push button or list whose text needs more room than its designed
// width (a font wider than the designed one, a longer translation) grows to
// the right as far as the next control beside it or its panel's edge allows,
// or into free room on its left. One whose font is taller than its designed
// height grows the same way, downwards into free room below it and then
// upwards; an entry of a laid-out box (a radio group) grows its box instead.
// Only when that is not enough does its font shrink, a pixel at a time, down
// to a readable minimum.

class QWidget;

namespace zarven {

void fitCaptions(QWidget *root);

} // namespace zarven
