#pragma once
// The loop's controls in the free foot of the window's left column: play and
// the two steps, the number of frames, the speed, the dwell on the newest
// frame, how old the site's newest data is, and the animation's save button.
// Only widgets live here; the loop itself is driven by LoopController.

#include <QWidget>

class QDoubleSpinBox;
class QLabel;
class QSpinBox;
class QToolButton;

namespace kalvera {

class LoopPanel : public QWidget {
    Q_OBJECT

  public:
    // Left column, below the print and save buttons. Four rows of 20 pixels
    // fit a 768-pixel screen also under a window manager, whose title bar
    // takes its height from the client area (about 90 pixels are left here).
    static constexpr int kLeft = 5;
    static constexpr int kTop = 625;
    static constexpr int kWidth = 172;
    static constexpr int kHeight = 83;

    explicit LoopPanel(QWidget* parent);

    QToolButton* stepBackButton = nullptr;
    QToolButton* playButton = nullptr;
    QToolButton* stepForwardButton = nullptr;
    QLabel* positionLabel = nullptr;
    QSpinBox* framesSpin = nullptr;
    QSpinBox* fpsSpin = nullptr;
    QDoubleSpinBox* dwellSpin = nullptr;
    QLabel* ageLabel = nullptr;
    QToolButton* saveAnimationButton = nullptr;

    int frames() const;
    int fps() const;
    double dwellSeconds() const;
    void showPlaying(bool playing);
    // "5/12": the frame shown of how many; empty while no loop runs.
    void showPosition(int shown, int count);
    // "прогноз 2/6": a forecast frame, counted apart from the observed ones
    // (the second lead of six), so that it is never taken for a term.
    void showForecastPosition(int lead, int leads);
    // The data age line; red while the feed has stalled.
    void showAge(const QString& text, bool stalled);

    // The keys of the window, as the panel's tooltip and F1 list them.
    static QString KeysHelp();

  signals:
    void playClicked();
    void stepClicked(int step);
    void saveAnimationClicked();
};

}  // namespace kalvera
