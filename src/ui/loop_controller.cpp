#include "ui/loop_controller.h"

#include <QApplication>
#include <QCursor>
#include <QEvent>
#include <QFile>
#include <QListWidget>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QThread>
#include <QTimer>
#include <QToolButton>
#include <cmath>

#include "archive/data_age.h"
#include "archive/day_archive.h"
#include "common/clock.h"
#include "nowcast/extrapolation.h"
#include "output/loop_animation.h"
#include "products/derived_products.h"
#include "products/term_layers.h"
#include "render/nowcast_layer.h"
#include "render/translated_text.h"
#include "ui/dialogs.h"
#include "ui/loop_panel.h"
#include "ui/main_window.h"
#include "ui/nowcast_tools.h"
#include "ui/term_steps.h"

namespace kalvera {

namespace {

constexpr int kAgeRefreshMs = 10'000;
// Grids decoded in one go between frames: short enough that the window
// always answers well within 50 ms.
constexpr std::chrono::milliseconds kPrepareSlice{15};

}  // namespace

LoopController::LoopController(TForm1& form, Dialogs& dialogs, const Clock& clock)
    : QObject(&form),
      form_(form),
      dialogs_(dialogs),
      clock_(clock),
      store_([&form](DisplayState& state, RadarPicture& grid) {
          return LoadLayerPicture(state, grid, form.viewer().decoder);
      }) {
    panel_ = new LoopPanel(&form);
    frameTimer_ = new QTimer(this);
    frameTimer_->setSingleShot(true);
    prepareTimer_ = new QTimer(this);
    prepareTimer_->setSingleShot(true);
    prepareTimer_->setInterval(0);
    ageTimer_ = new QTimer(this);
    ageTimer_->setInterval(kAgeRefreshMs);
    ageTimer_->start();

    connect(panel_, &LoopPanel::playClicked, this, &LoopController::playPause);
    connect(panel_, &LoopPanel::stepClicked, this, &LoopController::step);
    connect(panel_, &LoopPanel::saveAnimationClicked, this, &LoopController::saveAnimation);
    connect(panel_->framesSpin, &QSpinBox::valueChanged, this, [this] {
        if (running_) selectFrames();
    });
    connect(frameTimer_, &QTimer::timeout, this, &LoopController::nextFrame);
    connect(prepareTimer_, &QTimer::timeout, this, &LoopController::prepareSlice);
    connect(ageTimer_, &QTimer::timeout, this, &LoopController::refreshAge);
    // The window's own handler of the tick has run by the time this one does.
    connect(form.controls().Timer1, &QTimer::timeout, this, &LoopController::followUpdate);
    const auto laterRefresh = [this] { QTimer::singleShot(0, this, &LoopController::refreshAge); };
    connect(form.controls().locListBox, &QListWidget::itemClicked, this, laterRefresh);
    connect(form.controls().locListBox, &QListWidget::currentRowChanged, this, laterRefresh);
    // A term chosen in the list ends the loop before the list acts on it.
    form.controls().reviewListBox->installEventFilter(this);
    form.controls().reviewListBox->viewport()->installEventFilter(this);
    refreshAge();
}

bool LoopController::eventFilter(QObject* watched, QEvent* event) {
    const bool choosing =
        event->type() == QEvent::MouseButtonPress ||
        (event->type() == QEvent::KeyPress && watched == form_.controls().reviewListBox);
    if (running_ && choosing) halt();
    return QObject::eventFilter(watched, event);
}

void LoopController::playPause() {
    if (running_) {
        pause();
    } else {
        start();
    }
}

void LoopController::start() {
    const DisplayState& d = form_.display();
    anchorDate_ = d.currentDate;
    anchorTerm_ = listedTerm();
    shownDay_ = d.dayName;
    shownTerm_ = d.termText;
    shown_ = -1;
    selectFrames();
    if (store_.empty()) {
        form_.ShowEmptyPicture();
        return;
    }
    running_ = true;
    panel_->showPlaying(true);
    nextFrame();
}

std::string LoopController::listedTerm() const {
    // An empty day has no selected term: its loop is the days before it.
    return form_.controls().reviewListBox->count() == 0 ? std::string() : form_.display().termText;
}

void LoopController::halt() {
    running_ = false;
    forecastLead_ = 0;
    frameTimer_->stop();
    prepareTimer_->stop();
    panel_->showPlaying(false);
    panel_->showPosition(-1, 0);
    // Frames of earlier days named their own files; what the window does
    // next works on the listed day.
    ReturnToListedDay(form_);
}

void LoopController::pause() {
    if (!running_) return;
    halt();
    if (shown_ >= 0) selectAsTerm(shown_);
}

void LoopController::stop() {
    if (!running_) return;
    halt();
    if (!store_.empty()) selectAsTerm(store_.size() - 1);
}

void LoopController::step(int direction) {
    if (!running_) {
        StepTerm(form_, direction);
        return;
    }
    halt();
    int at = store_.nextShowable(shown_ + direction, direction);
    // A step forward from the newest frame stays there: the frames wrap
    // round, a step does not.
    if (direction > 0 && shown_ >= 0 && at >= 0 && at <= shown_) at = shown_;
    if (at >= 0) selectAsTerm(at);
}

void LoopController::selectFrames() {
    const DisplayState& d = form_.display();
    const std::string shownDay = shown_ >= 0 ? store_.frame(shown_).dayName : std::string();
    const std::string shownTerm = shown_ >= 0 ? store_.frame(shown_).termText : std::string();
    store_.setFrames(SelectLoopFrames(form_.viewer().config.dataRoot, d.siteCode, anchorDate_,
                                      anchorTerm_, panel_->frames()),
                     d.siteCode, d.layerCode);
    // The frame on the screen keeps its place; one that has gone starts over.
    shown_ = -1;
    for (int i = 0; i < store_.size(); ++i) {
        if (store_.frame(i).dayName == shownDay && store_.frame(i).termText == shownTerm)
            shown_ = i;
    }
    prepareTimer_->start();
}

void LoopController::prepareSlice() {
    if (store_.prepareSome(kPrepareSlice)) prepareTimer_->start();
}

bool LoopController::followWindow() {
    const DisplayState& d = form_.display();
    if (d.siteCode != store_.siteCode()) {
        // Another site: the loop goes on with its newest terms.
        anchorDate_ = d.currentDate;
        anchorTerm_ = listedTerm();
        shown_ = -1;
        selectFrames();
        return true;
    }
    if (d.dayName != shownDay_ || d.termText != shownTerm_) {
        // The operator went to another day or term.
        halt();
        return false;
    }
    if (d.layerCode != store_.layerCode()) {
        store_.setLayer(d.layerCode);
        prepareTimer_->start();
    }
    return true;
}

void LoopController::followUpdate() {
    refreshAge();
    if (!running_) return;
    const DisplayState& d = form_.display();
    // The tick has moved the window to the newest term: it joins the loop and
    // the oldest frame leaves.
    if (d.siteCode == store_.siteCode() && form_.controls().reviewListBox->count() > 0) {
        anchorDate_ = d.currentDate;
        anchorTerm_ = d.termText;
        selectFrames();
    }
    shownDay_ = d.dayName;
    shownTerm_ = d.termText;
}

bool LoopController::forecastWanted() const {
    return form_.nowcast != nullptr && form_.nowcast->overlayShown();
}

bool LoopController::showForecast(int leadMinutes) {
    if (leadMinutes > kMaxLeadMinutes || !forecastWanted()) return false;
    const GridValues* grid = form_.nowcast->forecast(leadMinutes);
    if (grid == nullptr) return false;
    ViewerState& viewer = form_.viewer();
    viewer.picture = ForecastPicture(*grid);
    viewer.pictureMarksNoData = true;
    // The term stays the newest observed one: the frame is its forecast.
    form_.nowcast->markNextAsForecast(leadMinutes);
    form_.ShowDecodedPicture();
    // The term cell is narrow: the lead alone; the banner over the map
    // names the term and the skill.
    form_.WriteHeaderCell(0, QString::fromStdString(ForecastLabel(leadMinutes)));
    forecastLead_ = leadMinutes;
    panel_->showForecastPosition(leadMinutes / kLeadStepMinutes,
                                 kMaxLeadMinutes / kLeadStepMinutes);
    return true;
}

void LoopController::nextFrame() {
    if (!followWindow()) return;
    // After the newest frame, or a forecast frame, comes the next lead.
    const bool atNewest = shown_ >= 0 && store_.nextShowable(shown_ + 1, +1) <= shown_;
    if ((forecastLead_ > 0 || atNewest) && showForecast(forecastLead_ + kLeadStepMinutes)) {
        const bool last = forecastLead_ >= kMaxLeadMinutes;
        frameTimer_->start(FrameDelayMs(last, panel_->fps(), panel_->dwellSeconds()));
        return;
    }
    forecastLead_ = 0;
    const int next = store_.nextShowable(shown_ + 1, +1);
    if (next < 0) {
        // Nothing of the loop decodes: the map alone, and the loop ends.
        halt();
        form_.ShowEmptyPicture();
        return;
    }
    showFrame(next);
    // The newest frame that decodes is the one after which the loop wraps,
    // or the forecast goes on, which then holds the stay.
    const bool newest = store_.nextShowable(next + 1, +1) <= next;
    frameTimer_->start(
        FrameDelayMs(newest && !forecastWanted(), panel_->fps(), panel_->dwellSeconds()));
}

void LoopController::showFrame(int index) {
    const FrameGrid* grid = store_.grid(index);
    if (grid == nullptr) return;
    forecastLead_ = 0;
    const LoopFrame& frame = store_.frame(index);
    ViewerState& viewer = form_.viewer();
    DisplayState& d = viewer.display;
    d.dayName = frame.dayName;
    d.termText = frame.termText;
    d.indexPath = frame.indexPath;
    d.basePath = frame.basePath;
    viewer.picture = grid->picture;
    d.siteLat = grid->siteLat;
    d.siteLon = grid->siteLon;
    form_.ShowDecodedPicture();
    form_.WriteHeaderCell(0, QString::fromStdString(frame.termText));
    HighlightTerm(form_, frame);
    shown_ = index;
    shownDay_ = frame.dayName;
    shownTerm_ = frame.termText;
    panel_->showPosition(index, store_.size());
    // The readout under a resting mouse reads the new frame's grid.
    const QPoint at = form_.mapFromGlobal(QCursor::pos());
    if (form_.rect().contains(at)) form_.FormMouseMove(at.x(), at.y());
}

void LoopController::selectAsTerm(int index) {
    const LoopFrame frame = store_.frame(index);
    DisplayState& d = form_.display();
    if (frame.dayName != DayNameOf(d.currentDate)) {
        d.currentDate = frame.date + (d.currentDate - std::floor(d.currentDate));
        d.dayName = frame.dayName;
        form_.ShowCurrentDate();
        form_.OpenCurrentDay();
    } else {
        ReturnToListedDay(form_);
    }
    ChooseTerm(form_, frame.termText);
}

void LoopController::refreshAge() {
    const ViewerState& viewer = form_.viewer();
    const double now = clock_.now();
    const DataAge age =
        DescribeDataAge(FindNewestData(viewer.config.dataRoot, viewer.display.siteCode, now), now,
                        viewer.config.updatePeriod);
    panel_->showAge(DataAgeText(age.text), age.stalled);
}

void LoopController::saveAnimation() {
    if (saving_) return;
    SaveDialogOptions options;
    options.defaultSuffix = QStringLiteral("gif");
    options.fileTypes = {QStringLiteral("GIF (*.gif)")};
    const DisplayState& d = form_.display();
    const std::optional<QString> chosen =
        ChooseSaveFile(dialogs_, &form_, options,
                       ProposedFileName(d.siteCode, d.dayName, d.termText, LayerName(d.layerCode)));
    if (!chosen) return;
    const std::vector<LoopFrame> frames =
        running_ ? store_.frames()
                 : SelectLoopFrames(form_.viewer().config.dataRoot, d.siteCode, d.currentDate,
                                    listedTerm(), panel_->frames());
    // The frames are drawn on a viewer of the animation's own, from a copy
    // of the window's (its bitmaps are shared until the window draws again).
    auto like = std::make_shared<const ViewerState>(form_.viewer());
    struct Outcome {
        bool written = false;
        std::string error;
    };
    auto outcome = std::make_shared<Outcome>();
    const AnimationTiming timing{panel_->fps(), panel_->dwellSeconds()};
    const std::string path = QFile::encodeName(*chosen).toStdString();
    saving_ = QThread::create([like, frames, timing, path, outcome] {
        outcome->written = WriteLoopAnimation(*like, frames, timing, path, outcome->error);
    });
    panel_->saveAnimationButton->setEnabled(false);
    QApplication::setOverrideCursor(Qt::BusyCursor);
    connect(saving_, &QThread::finished, this, [this, chosen = *chosen, outcome] {
        QApplication::restoreOverrideCursor();
        panel_->saveAnimationButton->setEnabled(true);
        saving_->deleteLater();
        saving_ = nullptr;
        if (!outcome->written)
            ShowSaveFailure(dialogs_, &form_, chosen, outcome->error, form_.windowTitle());
    });
    saving_->start();
}

LoopController::~LoopController() {
    if (saving_) saving_->wait();
}

}  // namespace kalvera
