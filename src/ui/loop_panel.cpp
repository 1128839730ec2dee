#include "ui/loop_panel.h"

#include <QDoubleSpinBox>
#include <QLabel>
#include <QSpinBox>
#include <QToolButton>

#include "archive/frame_selection.h"
#include "ui/fitted_label.h"

namespace kalvera {

namespace {

constexpr int kRow = 20;
constexpr int kRowStep = kRow + 1;
constexpr int kSmallestAgePixels = 8;

QToolButton* MakeButton(QWidget* parent, const QString& text, const QString& hint, int left,
                        int top, int width) {
    auto* button = new QToolButton(parent);
    button->setText(text);
    button->setToolTip(hint);
    button->setGeometry(left, top, width, kRow);
    // The keys of the window stay with the window.
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

QLabel* MakeLabel(QWidget* parent, const QString& text, int left, int top, int width) {
    auto* label = new QLabel(text, parent);
    label->setGeometry(left, top, width, kRow);
    return label;
}

template <typename Spin>
Spin* MakeSpin(QWidget* parent, int left, int top, int width, const QString& hint) {
    auto* spin = new Spin(parent);
    spin->setGeometry(left, top, width, kRow);
    spin->setToolTip(hint);
    spin->setFocusPolicy(Qt::ClickFocus);
    spin->setKeyboardTracking(false);
    return spin;
}

}  // namespace

LoopPanel::LoopPanel(QWidget* parent) : QWidget(parent) {
    setGeometry(kLeft, kTop, kWidth, kHeight);
    setToolTip(KeysHelp());

    stepBackButton = MakeButton(this, QStringLiteral("|◀"), tr("Кадр назад"), 0, 0, 30);
    playButton = MakeButton(this, QString(), QString(), 32, 0, 40);
    stepForwardButton = MakeButton(this, QStringLiteral("▶|"), tr("Кадр вперед"), 74, 0, 30);
    showPlaying(false);

    positionLabel = MakeLabel(this, QString(), 108, 0, kWidth - 108);
    positionLabel->setAlignment(Qt::AlignCenter);
    positionLabel->setToolTip(tr("Кадр петли"));
    framesSpin = MakeSpin<QSpinBox>(this, 0, kRowStep, 44, tr("Число кадров петли"));
    framesSpin->setRange(kLoopFramesMin, kLoopFramesMax);
    framesSpin->setValue(kLoopFramesDefault);
    fpsSpin = MakeSpin<QSpinBox>(this, 48, kRowStep, 60, tr("Скорость, кадров в секунду"));
    fpsSpin->setRange(kLoopFpsMin, kLoopFpsMax);
    fpsSpin->setValue(kLoopFpsDefault);
    fpsSpin->setSuffix(tr(" к/с"));
    dwellSpin =
        MakeSpin<QDoubleSpinBox>(this, 112, kRowStep, 60, tr("Задержка на последнем кадре, с"));
    dwellSpin->setRange(0.0, kLoopDwellMax);
    dwellSpin->setDecimals(1);
    dwellSpin->setSingleStep(0.5);
    dwellSpin->setValue(kLoopDwellDefault);
    dwellSpin->setSuffix(tr(" с"));

    ageLabel = MakeLabel(this, QString(), 0, 2 * kRowStep, kWidth);
    ageLabel->setToolTip(tr("Последний срок станции и его возраст"));
    saveAnimationButton = MakeButton(this, tr("Сохранить анимацию…"),
                                     tr("Петля как анимированный GIF"), 0, 3 * kRowStep, kWidth);

    connect(playButton, &QToolButton::clicked, this, &LoopPanel::playClicked);
    connect(stepBackButton, &QToolButton::clicked, this, [this] { emit stepClicked(-1); });
    connect(stepForwardButton, &QToolButton::clicked, this, [this] { emit stepClicked(+1); });
    connect(saveAnimationButton, &QToolButton::clicked, this, &LoopPanel::saveAnimationClicked);
}

int LoopPanel::frames() const {
    return framesSpin->value();
}

int LoopPanel::fps() const {
    return fpsSpin->value();
}

double LoopPanel::dwellSeconds() const {
    return dwellSpin->value();
}

void LoopPanel::showPlaying(bool playing) {
    playButton->setText(playing ? QStringLiteral("❚❚") : QStringLiteral("▶"));
    playButton->setToolTip(playing ? tr("Пауза (пробел)") : tr("Петля: пуск (пробел)"));
}

void LoopPanel::showPosition(int shown, int count) {
    positionLabel->setText(count > 0 ? QStringLiteral("%1/%2").arg(shown + 1).arg(count)
                                     : QString());
    positionLabel->setFont(font());
}

void LoopPanel::showForecastPosition(int lead, int leads) {
    const QString text = tr("прогноз %1/%2").arg(lead).arg(leads);
    positionLabel->setText(text);
    positionLabel->setFont(FontFitting(font(), text, positionLabel->width(), kSmallestAgePixels));
}

void LoopPanel::showAge(const QString& text, bool stalled) {
    ageLabel->setText(text);
    ageLabel->setToolTip(tr("Последний срок станции и его возраст: ") + text);
    // A long line (hours of a stall, a term of an earlier day) takes smaller
    // type rather than losing its end.
    ageLabel->setFont(FontFitting(font(), text, ageLabel->width(), kSmallestAgePixels));
    QPalette colours = palette();
    if (stalled) colours.setColor(QPalette::WindowText, Qt::red);
    ageLabel->setPalette(colours);
}

QString LoopPanel::KeysHelp() {
    return tr(
        "Клавиши окна:\n"
        "← →  предыдущий и следующий срок\n"
        "Home, End  первый и последний срок дня\n"
        "PageUp, PageDown  день назад и вперед\n"
        "Пробел  петля: пуск и пауза\n"
        "Esc  остановить петлю\n"
        "+ −  шаг масштаба\n"
        "Колесо над картой  масштаб вокруг курсора\n"
        "F1  эта подсказка");
}

}  // namespace kalvera
