#include "ui/fitted_label.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QLabel>
#include <algorithm>

namespace kalvera {

namespace {

constexpr char kDesignLeft[] = "designLeft";
constexpr char kDesignWidth[] = "designWidth";

}  // namespace

QLabel* MakeFittedLabel(QWidget* parent, const QString& text, int left, int top, int width,
                        int height) {
    auto* label = new QLabel(parent);
    label->setProperty(kDesignLeft, left);
    label->setProperty(kDesignWidth, width);
    label->setGeometry(left, top, width, height);
    SetFittedText(*label, text, 0);
    return label;
}

void SetFittedText(QLabel& label, const QString& text, int columnRight) {
    label.setText(text);
    const int width = std::max(label.property(kDesignWidth).toInt(), label.sizeHint().width());
    int left = label.property(kDesignLeft).toInt();
    if (columnRight > 0 && left + width > columnRight) left = std::max(0, columnRight - width);
    label.setGeometry(left, label.y(), width, label.height());
}

QFont FontFitting(const QFont& font, const QString& text, int width, int smallestPixels) {
    const auto fits = [&](const QFont& type) {
        return QFontMetrics(type).horizontalAdvance(text) <= width;
    };
    if (fits(font)) return font;
    QFont type = font;
    type.setStretch(QFont::Condensed);
    // A font may be sized in points or in pixels; the steps are pixels.
    for (int pixels = QFontInfo(type).pixelSize(); !fits(type) && pixels > smallestPixels;) {
        type.setPixelSize(--pixels);
    }
    return type;
}

}  // namespace kalvera
