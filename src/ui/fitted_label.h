#pragma once
// Labels whose text the handlers rewrite (a layer code, a threshold, a scale,
// the filter bar's maximum) size themselves to their text, growing to the
// right of where the form puts them, as the form's labels always did. A text
// that would reach past the control column moves left instead, so that it is
// read whole and never covers the picture.

#include <QFont>
#include <QString>

class QLabel;
class QWidget;

namespace kalvera {

// A label at its design place; its width is at least the design width.
QLabel* MakeFittedLabel(QWidget* parent, const QString& text, int left, int top, int width,
                        int height);
// Sets the text and fits the label to it, its right edge at most `columnRight`
// (no limit when that is 0 or less).
void SetFittedText(QLabel& label, const QString& text, int columnRight);

// `font`, or the same type condensed and then made smaller a pixel at a time
// down to `smallestPixels`, so that `text` fits `width` pixels where it can.
QFont FontFitting(const QFont& font, const QString& text, int width, int smallestPixels);

}  // namespace kalvera
