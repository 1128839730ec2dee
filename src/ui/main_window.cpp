#include "ui/main_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QStyledItemDelegate>
#include <QTimer>
#include <QToolButton>
#include <algorithm>
#include <climits>

#include "common/clock.h"
#include "common/domain_constants.h"
#include "decode/picture_loader.h"
#include "geo/settings.h"
#include "output/header_lines.h"
#include "products/term_layers.h"
#include "render/legend_tables.h"
#include "render/picture_render.h"
#include "render/translated_text.h"
#include "ui/button_glyphs.h"
#include "ui/colour_menu.h"
#include "ui/fitted_label.h"
#include "ui/list_box.h"
#include "ui/loop_controller.h"
#include "ui/nowcast_tools.h"
#include "ui/start_messages.h"
#include "ui/vertical_tools.h"
#include "ui/window_keys.h"

kalvera::TForm1* Form1 = nullptr;
kalvera::TcalendarForm* calendarForm = nullptr;

namespace kalvera {

namespace {

constexpr int kItemHeight = 13;

// Every list box of the form draws its items 13 pixels high.
class FixedHeightDelegate : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        size.setHeight(kItemHeight);
        return size;
    }
};

// The scale bar's range and steps, and its start position.
void SetScaleBarToDefault(QScrollBar* bar) {
    bar->setRange(kScaleMinimum, kScaleMaximum);
    bar->setSingleStep(kScaleStep);
    bar->setPageStep(kScaleStep);
    bar->setValue(kScaleDefault);
}

QToolButton* MakeSpeedButton(QWidget* parent, const QString& text, const QString& hint, int left,
                             int top, int width, int height) {
    auto* button = new QToolButton(parent);
    button->setText(text);
    button->setToolTip(hint);
    button->setGeometry(left, top, width, height);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

// A list box whose items run down a column and then on into the next one.
QListWidget* MakeListBox(QWidget* parent, int left, int top, int width, int height, int columns) {
    auto* list = new ListBox(parent);
    list->setGeometry(left, top, width, height);
    list->setUniformItemSizes(true);
    list->setItemDelegate(new FixedHeightDelegate(list));
    if (columns > 1) {
        list->setFlow(QListView::TopToBottom);
        list->setWrapping(true);
        list->setResizeMode(QListView::Adjust);
        list->setGridSize(QSize((width - 4) / columns, kItemHeight));
    }
    list->setVerticalScrollBarPolicy(columns > 1 ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAsNeeded);
    return list;
}

}  // namespace

TForm1::TForm1(Dialogs& dialogs, const Clock& clock, const TForm1Options& options, QWidget* parent)
    : QWidget(parent), dialogs_(dialogs), clock_(clock) {
    Form1 = this;
    if (options.decoder) viewer_.decoder = options.decoder;
    viewer_.onScreen = true;
    setWindowTitle(ProgramTitle());
    QFont formFont = QApplication::font();
    formFont.setPointSize(8);
    setFont(formFont);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);

    createNavigationControls();
    createListControls();
    createFilterAndScaleControls();
    createOutputControls();
    setTabOrderAsDesigned();
    wireHandlers();
    vertical = new VerticalTools(*this, viewer_, dialogs_);
    nowcast = new NowcastTools(*this, viewer_);
    started_ = runStartUp(options);
    if (started_) {
        loop = new LoopController(*this, dialogs_, clock_);
        new WindowKeys(*this, *loop);
    }
    createColumn();
}

TForm1::~TForm1() {
    delete vertical;
    vertical = nullptr;
    delete nowcast;
    nowcast = nullptr;
    FormDestroy();
    if (Form1 == this) Form1 = nullptr;
}

void TForm1::createNavigationControls() {
    backButton = MakeSpeedButton(this, QStringLiteral("<<"), tr("День назад"), 5, 10, 23, 25);
    dateStaticText = new ClickableLabel(this);
    dateStaticText->setGeometry(45, 10, 92, 21);
    dateStaticText->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    dateStaticText->setLineWidth(1);
    dateStaticText->setAlignment(Qt::AlignCenter);
    dateStaticText->setToolTip(tr("Выбор даты"));
    dateStaticText->setCursor(Qt::PointingHandCursor);
    forwardButton = MakeSpeedButton(this, QStringLiteral(">>"), tr("День вперед"), 154, 10, 23, 22);
    autoCheckBox = new QCheckBox(tr("Автообновление"), this);
    // The desktop font runs wider than the form's; the box grows to its text.
    autoCheckBox->setGeometry(32, 40, std::max(113, autoCheckBox->sizeHint().width()), 17);
    autoCheckBox->setChecked(true);
    StaticText2 = new QLabel(tr("Срок"), this);
    StaticText2->setGeometry(78, 60, 29, 17);
    StaticText2->setFrameStyle(QFrame::NoFrame);
    Timer1 = new QTimer(this);
}

void TForm1::createListControls() {
    reviewListBox = MakeListBox(this, 6, 81, 170, 202, 3);
    reviewListBox->setFrameShape(QFrame::Box);
    QPalette facePalette = reviewListBox->palette();
    facePalette.setColor(QPalette::Base, facePalette.color(QPalette::Button));
    reviewListBox->setPalette(facePalette);

    layerLabel = MakeFittedLabel(this, tr("Слой"), 59, 288, 25, 13);
    layerListBox = MakeListBox(this, 5, 305, 170, 32, 7);
    QFont navyFont = layerListBox->font();
    navyFont.setPixelSize(8);
    layerListBox->setFont(navyFont);
    QPalette navy = layerListBox->palette();
    navy.setColor(QPalette::Text, ToQColor(kNavy));
    layerListBox->setPalette(navy);
    layerListBox->installEventFilter(this);
    // Two rows of seven hold a term's usual layers. A scroll bar would take the
    // second row in a box this low; further codes are reached with the keys.
    layerListBox->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    locListBox = MakeListBox(this, 8, 456, 169, 105, 1);
}

void TForm1::createFilterAndScaleControls() {
    filterLabel = MakeFittedLabel(this, tr("Фильтр"), 66, 356, 40, 13);
    filterminLabel = MakeFittedLabel(this, QStringLiteral("0"), 8, 360, 6, 13);
    filtermaxLabel = MakeFittedLabel(this, QStringLiteral("0"), 161, 354, 6, 13);
    filterScrollBar = new QScrollBar(Qt::Horizontal, this);
    filterScrollBar->setGeometry(6, 377, 170, 17);
    filterScrollBar->setRange(0, 100);
    filterScrollBar->setSingleStep(1);
    filterScrollBar->setPageStep(1);
    filterScrollBar->setValue(0);
    filterScrollBar->setFocusPolicy(Qt::StrongFocus);  // the arrow keys move it, as they did

    scaleLabel = MakeFittedLabel(this, tr("Масштаб в окне"), 18, 403, 82, 13);
    scaleScrollBar = new QScrollBar(Qt::Horizontal, this);
    scaleScrollBar->setGeometry(6, 426, 170, 17);
    SetScaleBarToDefault(scaleScrollBar);
    scaleScrollBar->setFocusPolicy(Qt::StrongFocus);
}

void TForm1::createOutputControls() {
    printButton = MakeSpeedButton(this, QString(), tr("Печать"), 8, 582, 33, 33);
    printButton->setIcon(PrintGlyph());
    printButton->setIconSize(QSize(24, 24));
    saveButton = MakeSpeedButton(this, QString(), tr("Сохранить"), 145, 583, 33, 33);
    saveButton->setIcon(SaveGlyph());
    saveButton->setIconSize(QSize(24, 24));
}

void TForm1::setTabOrderAsDesigned() {
    tabOrder_ = {reviewListBox,   dateStaticText, StaticText2,  autoCheckBox,
                 filterScrollBar, scaleScrollBar, layerListBox, locListBox};
    for (size_t i = 0; i + 1 < tabOrder_.size(); ++i) setTabOrder(tabOrder_[i], tabOrder_[i + 1]);
}

QWidget* TForm1::nextInTabOrder(QWidget* from, bool forward) const {
    const auto count = static_cast<int>(tabOrder_.size());
    int at = -1;
    for (int i = 0; i < count && at < 0; ++i) {
        const QWidget* control = tabOrder_[static_cast<size_t>(i)];
        if (from != nullptr && (from == control || control->isAncestorOf(from))) at = i;
    }
    if (at < 0) return nullptr;
    for (int step = 1; step <= count; ++step) {
        const int i = ((at + (forward ? step : -step)) % count + count) % count;
        QWidget* candidate = tabOrder_[static_cast<size_t>(i)];
        if (candidate->focusPolicy() & Qt::TabFocus && candidate->isEnabled()) return candidate;
    }
    return nullptr;
}

bool TForm1::focusNextPrevChild(bool next) {
    // Qt's own chain runs through the list boxes' inner widgets; the form's
    // order is kept here instead.
    if (QWidget* target = nextInTabOrder(focusWidget(), next)) {
        target->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
        return true;
    }
    return QWidget::focusNextPrevChild(next);
}

void TForm1::wireHandlers() {
    connect(backButton, &QToolButton::clicked, this, [this] { backButtonClick(); });
    connect(forwardButton, &QToolButton::clicked, this, [this] { forwardButtonClick(); });
    connect(dateStaticText, &ClickableLabel::clicked, this, [this] { dateStaticTextClick(); });
    connect(autoCheckBox, &QCheckBox::clicked, this, [this] { autoCheckBoxClick(); });
    connect(reviewListBox, &QListWidget::itemClicked, this, [this] { reviewListBoxClick(); });
    connect(layerListBox, &QListWidget::itemClicked, this, [this] { layerListBoxClick(); });
    connect(locListBox, &QListWidget::itemClicked, this, [this] { locListBoxClick(); });
    const auto keyboardSelection = [this](QListWidget* list, void (TForm1::*click)()) {
        list->installEventFilter(this);
        connect(list, &QListWidget::currentRowChanged, this, [this, list, click](int row) {
            if (keyboardList_ != list || row < 0) return;
            keyboardList_ = nullptr;
            (this->*click)();
        });
    };
    keyboardSelection(reviewListBox, &TForm1::reviewListBoxClick);
    keyboardSelection(layerListBox, &TForm1::layerListBoxClick);
    keyboardSelection(locListBox, &TForm1::locListBoxClick);
    connect(filterScrollBar, &QScrollBar::valueChanged, this, [this] { filterScrollBarChange(); });
    connect(scaleScrollBar, &QScrollBar::valueChanged, this, [this] { scaleScrollBarChange(); });
    connect(printButton, &QToolButton::clicked, this, [this] { printButtonClick(); });
    connect(saveButton, &QToolButton::clicked, this, [this] { saveButtonClick(); });
    connect(Timer1, &QTimer::timeout, this, [this] { Timer1Timer(); });
}

bool TForm1::runStartUp(const TForm1Options& options) {
    AppConfig& config = viewer_.config;
    SettingsFailure failure;
    if (!LoadSettings(config, failure)) {
        startError_ = StartErrorText(failure).toStdString();
        return false;
    }
    LoadPalette(config);
    LoadColourChoice(config);
    ListSites(config);

    locListBox->clear();
    for (const std::string& site : config.siteList.names) {
        locListBox->addItem(QString::fromStdString(SiteDisplayName(config, site)));
    }
    if (locListBox->count() > 0) SelectByProgram(*locListBox, locListBox->item(0)->text());

    DisplayState& state = viewer_.display;
    state.viewLat = config.centreLat;
    state.viewLon = config.centreLon;
    state.currentDate = clock_.now();
    state.recentre = 1;

    const long long interval = static_cast<long long>(config.updatePeriod) * 1000;
    Timer1->setInterval(
        static_cast<int>(std::clamp(interval, 0LL, static_cast<long long>(INT_MAX))));
    SetTimer1Enabled(autoCheckBox->isChecked());

    pinnedRatio_ = options.deviceRatio;
    screenSize_ = options.screenSize;
    if (!screenSize_.isValid()) {
        const QScreen* current = screen() ? screen() : QGuiApplication::primaryScreen();
        screenSize_ = current ? current->geometry().size() : QSize(1024, 768);
    }
    applyGeometry(screenSize_);
    fitFrame_ = options.fitFrame;

    ShowCurrentDate();
    ReloadSite();
    // Faint cells chosen on an earlier shift, perhaps by someone else on a
    // shared login, must not pass for a calm map: said once, after the window
    // is up, with the way to change it.
    if (config.colours.cellOpacity < 100) {
        QTimer::singleShot(0, this, [this] {
            dialogs_.showMessage(
                this,
                tr("Ячейки показаны с непрозрачностью %1 %: так выбрано раньше.\n"
                   "Изменить: меню карты (Ctrl+правый щелчок) → «Непрозрачность ячеек».")
                    .arg(viewer_.config.colours.cellOpacity),
                ProgramTitle());
        });
    }
    return true;
}

void TForm1::applyGeometry(QSize screenSize, QMargins frame) {
    // The window, its frame included, is the screen height less 30 high. The
    // frame is not known before the window is shown; until then the client
    // area takes the whole of that height.
    const int clientHeight = screenSize.height() - 30 - frame.top() - frame.bottom();
    const int filterBarRight = filterScrollBar->x() + filterScrollBar->width();
    viewer_.layout = ComputePictureLayout(filterBarRight, clientHeight);
    const int width = WindowWidthFor(viewer_.layout);
    setFixedSize(width, clientHeight);
    move((screenSize.width() - width - frame.left() - frame.right()) / 2, 0);
    fitColumn();
    makeBitmaps();
}

void TForm1::makeBitmaps() {
    viewer_.deviceRatio = pinnedRatio_ > 0.0 ? pinnedRatio_ : devicePixelRatioF();
    const double ratio = viewer_.deviceRatio;
    const int clientWidth = width();
    const int clientHeight = height();
    const QColor face = palette().color(QPalette::Button);
    viewer_.windowColor = FromQColor(palette().color(QPalette::Base));
    viewer_.WindowDC.state.brushColor = FromQColor(face);
    viewer_.WindowDC.state.brushStyle = BrushStyle::Solid;
    viewer_.WindowDC.setSize(clientWidth, clientHeight, FromQColor(face), ratio);
    viewer_.WindowDC.invalidate = [this](int x, int y, int w, int h) {
        if (painting_) return;
        selfUpdate_ = true;
        update(x, y, w, h);
    };
    const int side = viewer_.side();
    viewer_.PictureLayer.setSize(side, side, ratio);
    viewer_.MapLayer.setSize(side, side, ratio);
}

void TForm1::ShowCurrentDate() {
    dateStaticText->setText(QString::fromStdString(ShortDateText(viewer_.display.currentDate)));
}

void TForm1::showLayerLabel() {
    const QString name = QString::fromStdString(LayerShortName(viewer_.display.layerCode));
    SetFittedText(*layerLabel, tr("Слой =") + name, viewer_.layout.picture.left);
}

void TForm1::showFilterLabel() {
    SetFittedText(*filterLabel, tr("Фильтр = %1").arg(viewer_.display.filterThreshold),
                  viewer_.layout.picture.left);
}

void TForm1::showScaleLabel() {
    SetFittedText(*scaleLabel, tr("Масштаб: 1 дел = %1 км").arg(scaleScrollBar->value()),
                  viewer_.layout.picture.left);
}

void TForm1::resetScaleBar() {
    {
        const QSignalBlocker block(scaleScrollBar);
        SetScaleBarToDefault(scaleScrollBar);
    }
    showScaleLabel();
    viewer_.display.viewHalfExtentKm = HalfExtentKmOfScale(scaleScrollBar->value());
}

void TForm1::resetFilterBar() {
    {
        const QSignalBlocker block(filterScrollBar);
        filterScrollBar->setValue(0);
    }
    // A new site starts unfiltered, so that "Фильтр = 0" is what is drawn.
    viewer_.display.filterThreshold = 0;
}

void TForm1::SetTimer1Enabled(bool enabled) {
    timer1Enabled_ = enabled;
    if (enabled && Timer1->interval() > 0) {
        Timer1->start();
    } else {
        Timer1->stop();
    }
}

int TForm1::selectedSiteIndex() const {
    const int row = locListBox->currentRow();
    const int count = static_cast<int>(viewer_.config.siteList.names.size());
    return row >= 0 && row < count ? row : 0;
}

bool TForm1::RenderPicture() {
    if (!kalvera::RenderPicture(viewer_)) {
        reportBrokenProduct();
        return false;
    }
    reportedBroken_.clear();
    showGridMaximum();
    // The nowcast first: the composite window asks it for the frame's lead.
    if (nowcast) nowcast->termShown();
    if (vertical) vertical->termShown();
    return true;
}

void TForm1::ShowDecodedPicture() {
    DrawDecodedPicture(viewer_);
    showGridMaximum();
    // The nowcast first: the composite window asks it for the frame's lead.
    if (nowcast) nowcast->termShown();
    if (vertical) vertical->termShown();
}

void TForm1::reportBrokenProduct() {
    const DisplayState& d = viewer_.display;
    if (!IsDerivedLayer(d.layerCode) || !viewer_.decoder) return;
    const std::string key = d.indexPath + '\n' + d.termText + '\n' + LayerName(d.layerCode);
    // A pan, the filter or the timer redraw the same term: one box is enough.
    if (key == reportedBroken_) return;
    const std::vector<int> broken = BrokenHeightLayers(d, viewer_.decoder);
    if (broken.empty()) return;
    reportedBroken_ = key;
    QStringList layers;
    for (const int layer : broken) layers << QString::number(layer);
    // Every layer that fails is named, so that nobody looks for one and misses another.
    const QString text =
        broken.size() == 1
            ? tr("Продукт «%1» срока %2 не построен: сообщение слоя %3 не декодируется.")
            : tr("Продукт «%1» срока %2 не построен: сообщения слоёв %3 не декодируются.");
    dialogs_.showMessage(
        this,
        text.arg(QString::fromStdString(LayerTitle(d.layerCode)),
                 QString::fromStdString(d.termText), layers.join(QStringLiteral(", "))),
        QString());
}

void TForm1::showGridMaximum() {
    // A lower maximum pulls the threshold down with the bar. Nothing above the
    // new maximum exists, so the picture just drawn stays right as it is.
    const QSignalBlocker block(filterScrollBar);
    filterScrollBar->setMaximum(viewer_.gridMaximum);
    if (viewer_.display.filterThreshold > viewer_.gridMaximum) {
        viewer_.display.filterThreshold = filterScrollBar->value();
        showFilterLabel();
    }
    SetFittedText(*filtermaxLabel, QString::number(filterScrollBar->maximum()),
                  viewer_.layout.picture.left);
}

void TForm1::WriteHeaderCell(int column, const QString& text) {
    kalvera::WriteHeaderCell(viewer_, column, text.toStdString());
}

void TForm1::ShowEmptyPicture() {
    kalvera::ShowEmptyPicture(viewer_);
}

void TForm1::FormPaint() {
    RepaintWindow(viewer_, reviewListBox->count() == 0);
}

void TForm1::FormDestroy() {
    if (destroyed_) return;
    destroyed_ = true;
    if (Timer1 != nullptr) Timer1->stop();
    viewer_.WindowDC.invalidate = nullptr;
    viewer_.WindowDC.image = QImage();
    viewer_.PictureLayer.image = QImage();
    viewer_.MapLayer.image = QImage();
    viewer_.LegendLayer.image = QImage();
}

void TForm1::EndProgram(int exitCode) {
    endRequested_ = true;
    exitCode_ = exitCode;
    SetTimer1Enabled(false);
    QTimer::singleShot(0, this, [this] {
        close();
        QCoreApplication::exit(exitCode_);
    });
}

void TForm1::paintEvent(QPaintEvent* event) {
    if (viewer_.WindowDC.image.isNull()) return;
    followScreenRatio();
    // The backing image always holds what the window shows. A paint that the
    // window system asks for re-shows the last render first, as the paint
    // handler always has; one that our own drawing asked for only shows it.
    if (!selfUpdate_) {
        painting_ = true;
        FormPaint();
        painting_ = false;
    }
    selfUpdate_ = false;
    QPainter painter(this);
    // The source is in the image's device pixels: at the screen's ratio they
    // go to the screen one for one.
    const QRectF shown(event->rect());
    const double ratio = viewer_.WindowDC.image.devicePixelRatio();
    painter.drawImage(shown, viewer_.WindowDC.image,
                      QRectF(shown.topLeft() * ratio, shown.size() * ratio));
    if (nowcast) nowcast->paint(painter);
    if (vertical) vertical->paintLine(painter);
}

void TForm1::showEvent(QShowEvent* event) {
    // Coming into view is a paint the window system asks for: the header
    // frame and titles are drawn by it.
    selfUpdate_ = false;
    QWidget::showEvent(event);
    if (fitFrame_) {
        fitFrame_ = false;
        waitForFrame(kFrameQueries);
    }
}

void TForm1::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    if (vertical) vertical->move(*event);
    FormMouseMove(at.x(), at.y());
    if (nowcast) nowcast->hover(at);
}

void TForm1::mousePressEvent(QMouseEvent* event) {
    if (vertical && vertical->press(*event)) return;
    const QPoint at = event->position().toPoint();
    FormMouseDown(event->button(), at.x(), at.y());
}

void TForm1::mouseReleaseEvent(QMouseEvent* event) {
    if (vertical && vertical->release(*event)) return;
    const QPoint at = event->position().toPoint();
    FormMouseUp(event->button(), at.x(), at.y());
}

void TForm1::contextMenuEvent(QContextMenuEvent* event) {
    if (vertical && vertical->contextMenu(*event)) return;
    QWidget::contextMenuEvent(event);
}

void TForm1::mouseDoubleClickEvent(QMouseEvent* event) {
    // The second press of a double click reports the double click first and
    // then counts as a press like any other.
    FormDblClick();
    const QPoint at = event->position().toPoint();
    FormMouseDown(event->button(), at.x(), at.y());
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    const bool list = watched == reviewListBox || watched == layerListBox || watched == locListBox;
    if (list && event->type() == QEvent::KeyPress) {
        if (watched == layerListBox) {
            const QString text = static_cast<QKeyEvent*>(event)->text();
            if (!text.isEmpty()) layerListBoxKeyPress(text.front());
        }
        // The list moves its selection right after this filter returns.
        keyboardList_ = watched;
    } else if (list && event->type() == QEvent::KeyRelease) {
        keyboardList_ = nullptr;
    }
    return QWidget::eventFilter(watched, event);
}

void TForm1::closeEvent(QCloseEvent* event) {
    SetTimer1Enabled(false);
    event->accept();
}

}  // namespace kalvera
