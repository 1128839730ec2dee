#include "ui/cell_table_window.h"

#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

#include "ui/tool_window.h"

namespace kalvera {

namespace {

const QSize kWantedSize(980, 360);

// An item that sorts by its number, shown with `decimals`; empty sorts first.
QTableWidgetItem* Number(double value, int decimals) {
    auto* item = new QTableWidgetItem;
    item->setData(Qt::DisplayRole,
                  decimals == 0 ? QVariant(qRound64(value))
                                : QVariant(QString::number(value, 'f', decimals).toDouble()));
    item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return item;
}

QTableWidgetItem* Text(const QString& text) {
    return new QTableWidgetItem(text);
}

QString Ids(const std::vector<int>& ids) {
    QStringList list;
    for (const int id : ids) list << QString::number(id);
    return list.join(QStringLiteral(", "));
}

}  // namespace

CellTableWindow::CellTableWindow(QWidget* parent) : QWidget(parent, kToolWindowFlags) {
    setWindowTitle(tr("Ячейки"));
    resize(kWantedSize);
    auto* layout = new QVBoxLayout(this);
    title_ = new QLabel(this);
    table_ = new QTableWidget(0, 11, this);
    table_->setHorizontalHeaderLabels({tr("№"), tr("Широта"), tr("Долгота"), tr("Площадь, км²"),
                                       tr("Макс., дБZ"), tr("Верх. граница, м"),
                                       tr("VIL макс., кг/м²"), tr("Скорость, км/ч"), tr("Курс, °"),
                                       tr("Слились"), tr("Отделилась от")});
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->verticalHeader()->hide();
    table_->setSortingEnabled(true);
    table_->sortByColumn(4, Qt::DescendingOrder);
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    layout->addWidget(title_);
    layout->addWidget(table_);
}

void CellTableWindow::showCells(const std::string& siteName, const std::string& termText,
                                const std::vector<StormCell>& cells) {
    title_->setText(tr("%1, срок %2: ячеек %3")
                        .arg(QString::fromStdString(siteName), QString::fromStdString(termText))
                        .arg(cells.size()));
    // Rows are filled unsorted, then the chosen sort is applied once.
    table_->setSortingEnabled(false);
    table_->setRowCount(static_cast<int>(cells.size()));
    for (int r = 0; r < table_->rowCount(); ++r) {
        const StormCell& c = cells[static_cast<size_t>(r)];
        table_->setItem(r, 0, Number(c.id, 0));
        table_->setItem(r, 1, Number(c.centroid.lat, 3));
        table_->setItem(r, 2, Number(c.centroid.lon, 3));
        table_->setItem(r, 3, Number(c.areaKm2, 0));
        table_->setItem(r, 4, Number(c.maxDbz, 1));
        table_->setItem(r, 5, c.topM ? Number(*c.topM, 0) : Text(QString()));
        table_->setItem(r, 6, c.vilMax ? Number(*c.vilMax, 1) : Text(QString()));
        table_->setItem(r, 7, Number(c.speedKmh, 0));
        table_->setItem(r, 8, Number(c.headingDeg, 0));
        table_->setItem(r, 9, Text(Ids(c.mergedFrom)));
        table_->setItem(r, 10, Text(c.splitFrom ? QString::number(c.splitFrom) : QString()));
    }
    table_->setSortingEnabled(true);
}

void CellTableWindow::open(QPoint keepVisible) {
    if (!isVisible() && parentWidget() != nullptr) {
        PlaceToolWindow(*this, *parentWidget(), kWantedSize, keepVisible);
    }
    show();
    raise();
    activateWindow();
}

}  // namespace kalvera
