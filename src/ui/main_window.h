#pragma once
// The main window: the control column on the left, and the header strip,
// picture and legend drawn on the client area to its right. The window holds
// the controls and wires them; what a handler does lives in the subsystem it
// calls. Handler bodies are split by concern:
//   main_window.cpp             construction and start-up, geometry, paint, destroy
//   main_window_navigation.cpp  site, day, term and the update timer
//   main_window_picture.cpp     mouse readout, pan, legend colour, filter, scale, layer
//   main_window_output.cpp      print and save
//   main_window_frame.cpp       the window's height once its frame is known

#include <QMargins>
#include <QSize>
#include <QString>
#include <QWidget>
#include <string>
#include <vector>

#include "archive/newest_term.h"
#include "common/domain_constants.h"
#include "output/automatic_export.h"
#include "render/viewer_state.h"
#include "ui/clickable_label.h"
#include "ui/dialogs.h"

class QCheckBox;
class QLabel;
class QScrollArea;
class QListWidget;
class QScrollBar;
class QTimer;
class QToolButton;

namespace kalvera {

class Clock;
class LoopController;
class VerticalTools;
class NowcastTools;
class TcalendarForm;

// What the picture handlers keep between events for the whole run.
struct PointerState {
    float pressLat = 0.0f;  // last press inside the picture
    float pressLon = 0.0f;
    int releaseX = 0;  // last release anywhere on the client area
    int releaseY = 0;
    float cursorLat = 0.0f;  // last position over the picture
    float cursorLon = 0.0f;
    float cursorAzimuth = 0.0f;
    float cursorRange = 0.0f;
};

// The form's controls, named as on the form. The window creates, places and
// wires them; from outside they are only looked at and operated.
struct TForm1Controls {
    QToolButton* backButton = nullptr;
    ClickableLabel* dateStaticText = nullptr;
    QToolButton* forwardButton = nullptr;
    QCheckBox* autoCheckBox = nullptr;
    QLabel* StaticText2 = nullptr;
    QListWidget* reviewListBox = nullptr;
    QLabel* layerLabel = nullptr;
    QListWidget* layerListBox = nullptr;
    QLabel* filterLabel = nullptr;
    QLabel* filterminLabel = nullptr;
    QLabel* filtermaxLabel = nullptr;
    QScrollBar* filterScrollBar = nullptr;
    QLabel* scaleLabel = nullptr;
    QScrollBar* scaleScrollBar = nullptr;
    QListWidget* locListBox = nullptr;
    QToolButton* printButton = nullptr;
    QToolButton* saveButton = nullptr;
    QTimer* Timer1 = nullptr;
};

// What the start-up takes from outside; tests replace the screen and decoder.
struct TForm1Options {
    QSize screenSize;        // invalid: the size of the screen the window is on
    PictureDecoder decoder;  // empty: loadPicture
    // Once the window manager's frame is known, the window is sized again so
    // that the frame, title bar included, is screen height − 30 high. Off: the
    // client area keeps that height (tests that measure the picture).
    bool fitFrame = true;
    // Device pixels to the pixel of the window's bitmaps; 0: the screen's,
    // followed when the window moves to a screen of another density.
    double deviceRatio = 0.0;
};

// The window's handlers use the controls by their names; controls() lends
// them out without letting anyone replace them.
class TForm1 : public QWidget, private TForm1Controls {
    Q_OBJECT

  public:
    TForm1(Dialogs& dialogs, const Clock& clock, const TForm1Options& options = {},
           QWidget* parent = nullptr);
    ~TForm1() override;

    // False when the settings could not be loaded; startError() then says why
    // and the window must not be shown.
    bool started() const { return started_; }
    const std::string& startError() const { return startError_; }
    // True once the program has been asked to end (a broken archive).
    bool endRequested() const { return endRequested_; }
    int exitCode() const { return exitCode_; }

    const TForm1Controls& controls() const { return *this; }
    // The left column with every control in it, loop panel included: it
    // scrolls when the client area is lower than the column.
    QScrollArea* leftColumn() const { return columnArea_; }

    // The file that the update timer replaces once the weather layer of the
    // newest term has arrived (tests point it elsewhere).
    std::string autoExportPath = kAutoExportPath;
    // Writes that file and the products of res/publish.txt at such a tick.
    AutomaticExport automaticExport;

    PointerState pointer;
    // The loop panel below the print and save buttons, and the window's keys.
    LoopController* loop = nullptr;
    // Section (right-button drag) and point history (Ctrl+click) of the picture.
    VerticalTools* vertical = nullptr;
    // The nowcast overlay (F6), the cell table (F7) and the loop's forecast frames.
    NowcastTools* nowcast = nullptr;

    ViewerState& viewer() { return viewer_; }
    DisplayState& display() { return viewer_.display; }
    const Clock& clock() const { return clock_; }

    // Navigation (main_window_navigation.cpp).
    void locListBoxClick();
    // Selects a site of the list by its code and opens it as a click on it
    // would; nothing for a code the list does not hold.
    void openSite(const std::string& siteCode);
    // Back to now after reviewing: the newest term of the newest day that
    // holds data, in the layer shown when that term has it (else its
    // highest), as the automatic update would show it. False when the site
    // has no day with a term.
    bool openNewestTerm();
    void reviewListBoxClick();
    void backButtonClick();
    void forwardButtonClick();
    void dateStaticTextClick();
    void Timer1Timer();
    // The current day's terms, opened on the first (the loop and the keys
    // come here after moving the day).
    void OpenCurrentDay();

    // Picture controls (main_window_picture.cpp). Positions are client pixels.
    void FormMouseMove(int x, int y);
    void FormMouseDown(Qt::MouseButton button, int x, int y);
    void FormMouseUp(Qt::MouseButton button, int x, int y);
    void FormDblClick();
    void layerListBoxClick();

    // Output (main_window_output.cpp).
    void printButtonClick();
    void saveButtonClick();

    // Paint and shutdown (main_window.cpp).
    void FormPaint();
    void FormDestroy();

    // Shared steps of the handlers (main_window.cpp).
    // Renders and then sets the filter bar's maximum and filtermaxLabel.
    bool RenderPicture();
    // The same for the grid already in the viewer (a loop's frame).
    void ShowDecodedPicture();
    void WriteHeaderCell(int column, const QString& text);
    void ShowEmptyPicture();
    // dateStaticText shows currentDate in the system's short date format.
    void ShowCurrentDate();
    // The form's tab order, and the control that Tab moves to from `from`
    // (static texts are in the order but take no focus, so Tab passes them).
    const std::vector<QWidget*>& tabOrder() const { return tabOrder_; }
    QWidget* nextInTabOrder(QWidget* from, bool forward = true) const;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool focusNextPrevChild(bool next) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    // Handlers that only the controls call.
    void autoCheckBoxClick();
    void filterScrollBarChange();
    void scaleScrollBarChange();
    void layerListBoxKeyPress(QChar key);

    void ReloadSite();
    // Follows the archive to the selected site's newest day and term and
    // shows what was found there: the date, the day's terms and the term's
    // layers. Nothing is shown when no day was found. `keepLayer` keeps the
    // layer code instead of taking the newest term's highest.
    NewestTerm openNewestDay(bool keepLayer = false);
    // The day `days` away from the current one, opened on its first term.
    void stepDay(double days);
    // Back to the bar's start position without drawing: the scale's default,
    // and the whole picture unfiltered.
    void resetScaleBar();
    void resetFilterBar();
    // Timer1 on or off; a period of 0 gives a timer that never ticks.
    void SetTimer1Enabled(bool enabled);
    // Ends the program in an orderly way once control returns to the loop.
    void EndProgram(int exitCode);
    // The selected site index of locListBox, 0 when none is selected.
    int selectedSiteIndex() const;

    void createNavigationControls();
    void createListControls();
    void createFilterAndScaleControls();
    void createOutputControls();
    void wireHandlers();
    void setTabOrderAsDesigned();
    bool runStartUp(const TForm1Options& options);
    void applyGeometry(QSize screen, QMargins frame = QMargins());
    // The window's bitmaps at the client size and the screen's density.
    void makeBitmaps();
    // (main_window_frame.cpp) Asks the window system for the frame a few
    // times after the first show, and sizes the window to it once.
    static constexpr int kFrameQueries = 100;
    static constexpr int kFrameQueryMs = 20;
    void waitForFrame(int triesLeft);
    void fitToFrame(QMargins frame);
    // Moves the controls into the left column (after the loop panel exists)
    // and fits the column to the client height.
    void createColumn();
    void fitColumn();
    // Makes the bitmaps again when the screen's density is no longer theirs.
    void followScreenRatio();
    // layerLabel, filterLabel and scaleLabel show the layer code, the filter
    // threshold and the scale bar's position.
    void showLayerLabel();
    void showFilterLabel();
    void showScaleLabel();
    // The filter bar's maximum and filtermaxLabel after a picture was drawn.
    void showGridMaximum();
    // After a failed render of a derived product: says which listed layer
    // does not decode, once for a term and product until a picture is drawn.
    void reportBrokenProduct();

    Dialogs& dialogs_;
    // The print, save and colour dialogs are shown through `dialogs_`; the
    // save dialog's settings are these.
    SaveDialogOptions SaveDialog1;
    const Clock& clock_;
    ViewerState viewer_;
    bool started_ = false;
    bool endRequested_ = false;
    int exitCode_ = 0;
    QSize screenSize_;
    double pinnedRatio_ = 0.0;
    QScrollArea* columnArea_ = nullptr;
    bool fitFrame_ = false;  // armed at start, spent at the first show
    bool timer1Enabled_ = false;
    bool painting_ = false;
    bool selfUpdate_ = false;  // a paint that our own drawing asked for
    bool destroyed_ = false;
    // The list box whose key press is being handled: a selection moved by the
    // keys acts as a click on the item it moved to.
    QObject* keyboardList_ = nullptr;
    std::string startError_;
    std::string reportedBroken_;  // index, term and product last reported
    std::vector<QWidget*> tabOrder_;
};

}  // namespace kalvera

// The two program-wide objects.
extern kalvera::TForm1* Form1;
extern kalvera::TcalendarForm* calendarForm;
