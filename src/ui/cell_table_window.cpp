#include "ui/cell_table_window.h"

#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

#include "geo/map_projection.h"
#include "ui/tool_window.h"

namespace kalvera {

namespace {

const QSize kWantedSize(1180, 360);
constexpr int kIdColumn = 0;
constexpr int kColumns = 14;
const QString kDash = QStringLiteral("—");

// An item shown as `text` that sorts by `key`; an empty one sorts first.
class SortedItem : public QTableWidgetItem {
  public:
    SortedItem(const QString& text, double key) : QTableWidgetItem(text) {
        setData(Qt::UserRole, key);
        setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    bool operator<(const QTableWidgetItem& other) const override {
        return data(Qt::UserRole).toDouble() < other.data(Qt::UserRole).toDouble();
    }
};

QTableWidgetItem* Number(double value, int decimals) {
    return new SortedItem(QString::number(value, 'f', decimals), value);
}

QTableWidgetItem* Blank(const QString& text = QString()) {
    return new SortedItem(text, -1e9);
}

// Positions in the readout's notation: degrees and minutes.
QTableWidgetItem* Degrees(double value) {
    return new SortedItem(QString::fromStdString(DegMinText(static_cast<float>(value))), value);
}

QTableWidgetItem* Text(const QString& text) {
    return new QTableWidgetItem(text);
}

QString Ids(const std::vector<int>& ids) {
    QStringList list;
    for (const int id : ids) list << QString::number(id);
    return list.join(QStringLiteral(", "));
}

QString MotionSource(CellMotion motion) {
    switch (motion) {
        case CellMotion::Track:
            return CellTableWindow::tr("свой путь");
        case CellMotion::FieldYoung:
            return CellTableWindow::tr("поле: новая");
        case CellMotion::FieldOverTrack:
            return CellTableWindow::tr("поле: путь не движение");
        case CellMotion::Implausible:
            return CellTableWindow::tr("неправдоподобна");
        case CellMotion::Unknown:
            break;
    }
    return CellTableWindow::tr("неизвестно");
}

}  // namespace

CellTableWindow::CellTableWindow(QWidget* parent) : QWidget(parent, kToolWindowFlags) {
    setWindowTitle(tr("Ячейки"));
    resize(kWantedSize);
    auto* layout = new QVBoxLayout(this);
    title_ = new QLabel(this);
    table_ = new QTableWidget(0, kColumns, this);
    table_->setHorizontalHeaderLabels({tr("№"), tr("Широта"), tr("Долгота"), tr("Азимут, °"),
                                       tr("Дальность, км"), tr("Площадь, км²"), tr("Макс., дБZ"),
                                       tr("Верх. граница, м"), tr("VIL макс., кг/м²"),
                                       tr("Скорость, км/ч"), tr("Курс, °"), tr("Движение по"),
                                       tr("Слились"), tr("Отделилась от")});
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->verticalHeader()->hide();
    table_->setSortingEnabled(true);
    table_->sortByColumn(6, Qt::DescendingOrder);
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    layout->addWidget(title_);
    layout->addWidget(table_);
    connect(table_, &QTableWidget::cellClicked, this, [this](int row, int) {
        if (const QTableWidgetItem* id = table_->item(row, kIdColumn)) {
            emit cellChosen(id->data(Qt::UserRole).toInt());
        }
    });
}

void CellTableWindow::showCells(const std::string& siteName, const std::string& termText,
                                const std::vector<StormCell>& cells) {
    showCells(siteName, "", termText, cells, std::nullopt);
}

void CellTableWindow::showCells(const std::string& siteName, const std::string& dayText,
                                const std::string& termText, const std::vector<StormCell>& cells,
                                const std::optional<LatLon>& site) {
    const QString when = dayText.empty() ? QString::fromStdString(termText)
                                         : QString::fromStdString(dayText + ' ' + termText);
    title_->setText(tr("%1, срок %2 GMT: ячеек %3")
                        .arg(QString::fromStdString(siteName), when)
                        .arg(cells.size()));
    setWindowTitle(tr("Ячейки") + QStringLiteral(" — ") + when);
    MapProjection from;
    if (site) {
        from.lat0 = static_cast<float>(site->lat);
        from.lon0 = static_cast<float>(site->lon);
    }
    // Rows are filled unsorted, then the chosen sort is applied once.
    table_->setSortingEnabled(false);
    table_->setRowCount(static_cast<int>(cells.size()));
    for (int r = 0; r < table_->rowCount(); ++r) {
        const StormCell& c = cells[static_cast<size_t>(r)];
        table_->setItem(r, kIdColumn, Number(c.id, 0));
        table_->setItem(r, 1, Degrees(c.centroid.lat));
        table_->setItem(r, 2, Degrees(c.centroid.lon));
        if (site) {
            float azimuth = 0.0f, range = 0.0f;
            from.RangeAzimuth(static_cast<float>(c.centroid.lat),
                              static_cast<float>(c.centroid.lon), azimuth, range);
            table_->setItem(r, 3, Number(azimuth, 0));
            table_->setItem(r, 4, Number(range, 0));
        } else {
            table_->setItem(r, 3, Blank());
            table_->setItem(r, 4, Blank());
        }
        table_->setItem(r, 5, Number(c.areaKm2, 0));
        table_->setItem(r, 6, Number(c.maxDbz, 1));
        table_->setItem(r, 7, c.topM ? Number(*c.topM, 0) : Blank());
        table_->setItem(r, 8, c.vilMax ? Number(*c.vilMax, 1) : Blank());
        // Where nothing is known, nothing is printed as a speed.
        table_->setItem(r, 9, c.moving() ? Number(c.speedKmh, 0) : Blank(kDash));
        table_->setItem(r, 10, c.moving() ? Number(c.headingDeg, 0) : Blank(kDash));
        table_->setItem(r, 11, Text(MotionSource(c.motion)));
        table_->setItem(r, 12, Text(Ids(c.mergedFrom)));
        table_->setItem(r, 13, Text(c.splitFrom ? QString::number(c.splitFrom) : QString()));
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
