// The three list boxes: a drag acts on the item under the release, and the
// item the program selects is highlighted and in view.

#include <QMouseEvent>

#include "ui/navigation_fixture.h"

namespace kalvera::navtest {

class ListBoxTest : public WindowTest {
  protected:
    ListBoxTest() : WindowTest({{"S1", 54.0f, 36.0f}, {"S2", 50.0f, 30.0f}}) {}

    // A day of terms every ten minutes from midnight, more than the term
    // list shows at once.
    void addDay(const std::string& site, int days, int terms) {
        for (int t = 0; t < terms; ++t)
            dir.addTerm(site, DayFromNow(days), t / 6, t % 6 * 10, {1, 2});
    }
    static void mouse(QListWidget* list, QEvent::Type type, QPoint at) {
        const Qt::MouseButtons held =
            type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, QPointF(at), QPointF(list->viewport()->mapToGlobal(at)),
                          Qt::LeftButton, held, Qt::NoModifier);
        QCoreApplication::sendEvent(list->viewport(), &event);
    }
    static QPoint centre(QListWidget* list, int row) {
        return list->visualItemRect(list->item(row)).center();
    }
    // The selected item's text, empty when it is not wholly in view.
    static QString selectedInView(QListWidget* list) {
        const QList<QListWidgetItem*> selected = list->selectedItems();
        if (selected.size() != 1) return QStringLiteral("(%1 selected)").arg(selected.size());
        const bool seen = list->viewport()->rect().contains(list->visualItemRect(selected.front()));
        return seen ? selected.front()->text() : QString();
    }
};

TEST_F(ListBoxTest, AReleaseAfterADragActsOnTheItemItLeavesSelected) {
    addDay("S1", 0, 3);
    addDay("S2", 0, 1);
    start();
    form().show();
    const auto site = [this] { return state().siteCode; };
    const auto term = [this] { return state().termText; };
    const auto layer = [this] { return std::to_string(state().layerCode); };
    const struct {
        const char* name;
        QListWidget* list;
        int from, to;
        bool releaseOutside;
        std::function<std::string()> shown;
        std::string expected;
    } rows[] = {
        {"term", form().reviewListBox, 2, 0, false, term, "00.00"},
        {"term, released below the list", form().reviewListBox, 0, 1, true, term, "00.10"},
        {"layer", form().layerListBox, 1, 0, false, layer, "1"},
        {"site", form().locListBox, 0, 1, false, site, "S2"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const QPoint to = centre(row.list, row.to);
        mouse(row.list, QEvent::MouseButtonPress, centre(row.list, row.from));
        mouse(row.list, QEvent::MouseMove, to);
        mouse(row.list, QEvent::MouseButtonRelease,
              row.releaseOutside ? QPoint(to.x(), row.list->viewport()->height() + 20) : to);
        EXPECT_EQ(row.shown(), row.expected);
        EXPECT_EQ(row.list->currentItem()->isSelected(), true);
    }
    form().hide();
}

TEST_F(ListBoxTest, TheDrawnTermAndLayerAreSelectedAndInViewAfterEveryProgramChange) {
    addDay("S1", 0, 60);
    addDay("S1", -1, 60);
    addDay("S2", 0, 50);
    start();
    const struct {
        const char* name;
        std::function<void()> change;
        QString term;
    } rows[] = {
        {"start", [] {}, "09.50"},
        {"shown", [this] { form().show(); }, "09.50"},
        {"day back", [this] { form().backButtonClick(); }, "00.00"},
        {"tick",
         [this] {
             dir.addTerm("S1", DayFromNow(0), 10, 0, {1, 2});
             form().Timer1Timer();
         },
         "10.00"},
        {"site",
         [this] {
             form().locListBox->setCurrentRow(1);
             form().locListBoxClick();
         },
         "08.10"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        row.change();
        QCoreApplication::processEvents();
        EXPECT_EQ(selectedInView(form().reviewListBox), row.term);
        EXPECT_EQ(selectedInView(form().layerListBox), QStringLiteral("2"));
    }
    EXPECT_EQ(selectedInView(form().locListBox), form().locListBox->item(1)->text());
    form().hide();
}

}  // namespace kalvera::navtest
