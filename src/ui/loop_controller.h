#pragma once
// The loop of the main window: it shows the newest terms up to the selected
// one, oldest first, over and over, with a longer stay on the newest. A frame
// is drawn from its decoded grid with whatever layer, view, filter and colours
// the window has at that moment; the grids are decoded a few at a time
// between frames, so the window keeps answering. The controller also keeps
// the panel's data age line fresh and saves the loop as an animated GIF.

#include <QObject>
#include <string>

#include "archive/frame_store.h"

class QThread;
class QTimer;

namespace kalvera {

class Clock;
class Dialogs;
class LoopPanel;
class TForm1;

class LoopController : public QObject {
    Q_OBJECT

  public:
    LoopController(TForm1& form, Dialogs& dialogs, const Clock& clock);
    // Waits for an animation still being written.
    ~LoopController() override;

    LoopPanel* panel() const { return panel_; }
    bool running() const { return running_; }
    const FrameStore& frames() const { return store_; }
    // Index of the frame on the screen, -1 when none.
    int shownFrame() const { return shown_; }

    // Space and the play button.
    void playPause();
    // Pause: the frame shown becomes the selected term.
    void pause();
    // Escape: the loop ends on the term that was selected when it began.
    void stop();
    // The loop ends where it is, back on the listed day's files: the
    // operator has chosen something else.
    void halt();
    // The panel's step buttons: the loop pauses on the frame before or after,
    // forward no further than its newest; without a loop, the term before or
    // after (StepTerm).
    void step(int direction);
    // The data age line, from the archive as it is now.
    void refreshAge();
    // Asks for a file and writes the loop's frames there as an animated GIF,
    // off the GUI thread; the save button waits until the file is written.
    void saveAnimation();
    bool savingAnimation() const { return saving_ != nullptr; }
    // The next frame, as the frame timer shows it.
    void nextFrame();
    // After each update tick: a newer term joins a running loop.
    void followUpdate();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void start();
    void selectFrames();
    // The term the frames end with: the selected one, none on an empty day.
    std::string listedTerm() const;
    void showFrame(int index);
    void prepareSlice();
    // Looks at what changed in the window since the last frame: another site
    // restarts the frames, another layer decodes them again, a term the
    // operator chose ends the loop. False when the loop has ended.
    bool followWindow();
    // The frame becomes the window's selected term, as a click on it would.
    void selectAsTerm(int index);
    // While the nowcast is shown, the loop runs on past its newest frame
    // into the forecast: the next lead's frame, false after the last.
    bool forecastWanted() const;
    bool showForecast(int leadMinutes);

    TForm1& form_;
    Dialogs& dialogs_;
    const Clock& clock_;
    LoopPanel* panel_ = nullptr;
    QTimer* frameTimer_ = nullptr;
    QTimer* prepareTimer_ = nullptr;
    QTimer* ageTimer_ = nullptr;
    QThread* saving_ = nullptr;
    FrameStore store_;
    bool running_ = false;
    int shown_ = -1;
    // The lead of the forecast frame on the screen, 0 for an observed one.
    int forecastLead_ = 0;
    // The selected term the frames end with.
    double anchorDate_ = 0.0;
    std::string anchorTerm_;
    // What the loop last put in the window, to tell the operator's moves apart.
    std::string shownDay_;
    std::string shownTerm_;
};

}  // namespace kalvera
