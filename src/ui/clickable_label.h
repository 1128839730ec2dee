#pragma once
// A framed static text that reports a click, as the date field needs.

#include <QLabel>
#include <QMouseEvent>

namespace kalvera {

class ClickableLabel : public QLabel {
    Q_OBJECT

  public:
    using QLabel::QLabel;

  signals:
    void clicked();

  protected:
    void mouseReleaseEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
            emit clicked();
        }
        QLabel::mouseReleaseEvent(event);
    }
};

}  // namespace kalvera
