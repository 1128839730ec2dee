// The left column on screens too short for it: it scrolls, every control in
// it can be brought into view, and the picture keeps its size rule.

#include <QScrollArea>
#include <QScrollBar>

#include "ui/navigation_fixture.h"

namespace kalvera::navtest {

using LeftColumnTest = WindowTest;

TEST_F(LeftColumnTest, OnShortScreensEveryControlScrollsIntoView) {
    for (int screenHeight : {768, 720, 540}) {
        start(screenHeight);
        TForm1& f = form();
        f.show();
        QScrollArea* column = f.leftColumn();
        ASSERT_NE(column, nullptr);
        EXPECT_EQ(column->height(), f.height());
        EXPECT_EQ(Rect(area()), QRect(186, 30, f.height() - 40, f.height() - 40));
        const QList<QWidget*> controls =
            column->widget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
        EXPECT_GE(controls.size(), 18);
        for (QWidget* control : controls) {
            // Scrolled as far towards the control's top as the bar goes, the
            // whole control is in view.
            column->verticalScrollBar()->setValue(control->y());
            const QRect shown(control->mapTo(column->viewport(), QPoint(0, 0)), control->size());
            EXPECT_TRUE(column->viewport()->rect().contains(shown))
                << screenHeight << " " << control->metaObject()->className();
        }
        f.hide();
    }
}

TEST_F(LeftColumnTest, ScrollsOnlyWhereTheScreenIsTooShort) {
    const struct {
        int screenHeight;
        bool scrolls;
    } rows[] = {{1080, false}, {900, false}, {540, true}};
    for (const auto& row : rows) {
        start(row.screenHeight);
        form().show();
        EXPECT_EQ(form().leftColumn()->verticalScrollBar()->maximum() > 0, row.scrolls)
            << row.screenHeight;
        form().hide();
    }
}

}  // namespace kalvera::navtest
