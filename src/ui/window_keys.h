#pragma once
// The main window's keys and its wheel, from the moment the window opens:
// terms, days, the loop and the scale. A focused list box, scroll bar, spin
// box or button keeps the keys it uses itself. The wheel over the picture
// zooms about the point under the cursor.

#include <QObject>
#include <QString>

class QWidget;

namespace kalvera {

class LoopController;
class TForm1;

class WindowKeys : public QObject {
    Q_OBJECT

  public:
    // Watches every widget of `form`; lives as long as the form.
    WindowKeys(TForm1& form, LoopController& loop);

    // The keys of the window and what the mouse does over the picture and
    // the legend: what F1 shows.
    static QString Help();
    // Shows that list by the loop panel, as F1 does.
    static void ShowHelp(TForm1& form);
    // Whether the focused control acts on the key itself (Qt key code).
    static bool FocusedControlUsesKey(const QWidget* focus, int key);
    // Handles a key of the window; false when it is not one of ours.
    bool press(int key);
    // Turns the wheel over the picture by `notches` (positive: away from the
    // operator, a smaller scale step) at client position (x, y).
    void wheel(int x, int y, int notches);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    TForm1& form_;
    LoopController& loop_;
    int wheelRest_ = 0;  // eighths of a degree short of a whole notch
};

}  // namespace kalvera
