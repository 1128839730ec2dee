#include "ui/section_window.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include "output/png_writer.h"
#include "products/layer_units.h"
#include "render/section_render.h"
#include "ui/dialogs.h"
#include "ui/tool_window.h"

namespace kalvera {

namespace {
constexpr int kControlsHeight = 36;
const QSize kWantedSize(900, 500 + kControlsHeight);
}  // namespace

SectionWindow::SectionWindow(const AppConfig& config, Dialogs& dialogs, QWidget* parent)
    : QWidget(parent, kToolWindowFlags), config_(config), dialogs_(dialogs) {
    setWindowTitle(tr("Вертикальный разрез"));
    resize(kWantedSize);
    setMouseTracking(true);
    auto* layout = new QVBoxLayout(this);
    layout->addStretch();
    auto* row = new QHBoxLayout;
    readout_ = new QLabel(this);
    // A long readout is cut rather than widening the window under the mouse.
    readout_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    auto* save = new QPushButton(tr("Сохранить PNG..."), this);
    row->addWidget(readout_, 1);
    row->addWidget(save);
    layout->addLayout(row);
    connect(save, &QPushButton::clicked, this, [this] { saveClicked(); });
}

void SectionWindow::showLine(const DisplayState& shown, GeoPoint from, GeoPoint to,
                             QPoint keepVisible) {
    from_ = from;
    to_ = to;
    lineSet_ = true;
    followTerm(shown);
    if (!isVisible() && parentWidget() != nullptr) {
        PlaceToolWindow(*this, *parentWidget(), kWantedSize, keepVisible);
    }
    show();
    raise();
}

bool SectionWindow::line(GeoPoint& from, GeoPoint& to) const {
    from = from_;
    to = to_;
    return lineSet_;
}

void SectionWindow::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    emit hidden();
}

void SectionWindow::followTerm(const DisplayState& shown) {
    if (!lineSet_) return;
    // The loads must not move the main window's view.
    DisplayState state = shown;
    state.recentre = 1;
    Section section;
    if (!LoadSection(state, from_, to_, section)) {
        section.site = shown.siteCode;
        section.day = shown.dayName;
        section.term = shown.termText;
        section.lengthKm = SectionLengthKm(from_, to_);
    }
    section_ = std::move(section);
    readout_->clear();
    update();
}

QRect SectionWindow::plotArea() const {
    return QRect(0, 0, width(), std::max(1, height() - kControlsHeight));
}

QImage SectionWindow::image(double ratio) const {
    const QRect area = plotArea();
    return DrawSectionImage(section_, config_.palette, area.width(), area.height(), ratio,
                            TableForLayer(config_.colours, kFirstHeightLayer));
}

void SectionWindow::paintEvent(QPaintEvent* event) {
    // The readout below the picture repaints only its own strip.
    if (!event->rect().intersects(plotArea())) return;
    QPainter painter(this);
    // The screen gets the picture at its own density; a saved file at 1.
    painter.drawImage(0, 0, image(devicePixelRatioF()));
}

void SectionWindow::mouseMoveEvent(QMouseEvent* event) {
    const QRect area = plotArea();
    const SectionFrame frame = SectionFrame::Of(area.width(), area.height(), section_.lengthKm);
    const QPoint at = event->position().toPoint();
    const std::string text =
        frame.contains(at.x(), at.y())
            ? SectionReadout(section_, frame.kmOfX(at.x()), frame.heightKmOfY(at.y()))
            : std::string();
    readout_->setText(QString::fromStdString(text));
}

bool SectionWindow::saveImage(const QString& path, QString& error) const {
    std::string reason;
    if (WritePngFile(image(), path.toStdString(), reason)) return true;
    error = QString::fromStdString(reason);
    return false;
}

void SectionWindow::saveClicked() {
    SaveDialogOptions options;
    options.defaultSuffix = QStringLiteral("png");
    options.fileTypes = {QStringLiteral("PNG (*.png)")};
    const std::optional<QString> path =
        ChooseSaveFile(dialogs_, this, options,
                       ProposedFileName(section_.site, section_.day, section_.term, "section"));
    if (!path) return;
    QString error;
    if (!saveImage(*path, error)) {
        ShowSaveFailure(dialogs_, this, *path, error.toStdString(), windowTitle());
    }
}

}  // namespace kalvera
