// The window's languages: both catalogues complete, the Russian texts as they
// always were, and an English window without a Cyrillic letter outside the
// data (site and place names).

#include <QAbstractSpinBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QFile>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTranslator>

#include "output/header_lines.h"
#include "products/derived_products.h"
#include "render/app_language.h"
#include "render/legend_tables.h"
#include "render/translated_text.h"
#include "ui/calendar_form.h"
#include "ui/first_start_dialog.h"
#include "ui/history_window.h"
#include "ui/navigation_fixture.h"
#include "ui/qt_translations.h"
#include "ui/section_window.h"
#include "ui/vertical_tools.h"
#include "ui/window_keys.h"

namespace kalvera::navtest {

namespace {

QString Catalogue(const char* name) {
    QFile file(QStringLiteral(KALVERA_SOURCE_DIR "/i18n/") + QString::fromLatin1(name));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

bool HasCyrillic(const QString& text) {
    static const QRegularExpression cyrillic(QStringLiteral("\\p{Cyrillic}"));
    return text.contains(cyrillic);
}

// Every text a widget shows a person, with where it was found.
QStringList ShownTexts(const QWidget& widget, const QWidget* dataList) {
    QStringList texts{widget.windowTitle(), widget.toolTip()};
    if (const auto* button = qobject_cast<const QAbstractButton*>(&widget)) texts << button->text();
    if (const auto* label = qobject_cast<const QLabel*>(&widget)) texts << label->text();
    if (const auto* spin = qobject_cast<const QSpinBox*>(&widget)) texts << spin->suffix();
    if (const auto* spin = qobject_cast<const QDoubleSpinBox*>(&widget)) texts << spin->suffix();
    if (const auto* combo = qobject_cast<const QComboBox*>(&widget)) {
        for (int i = 0; i < combo->count(); ++i) texts << combo->itemText(i);
    }
    if (const auto* list = qobject_cast<const QListWidget*>(&widget); list && list != dataList) {
        texts << Items(list);
    }
    for (const QAction* action : widget.actions()) texts << action->text() << action->toolTip();
    return texts;
}

class LanguageTest : public WindowTest {
  protected:
    void TearDown() override {
        // The catalogues are the application's; the next test starts without.
        qDeleteAll(QCoreApplication::instance()->findChildren<QTranslator*>());
        QLocale::setDefault(QLocale::system());
    }
};

}  // namespace

TEST(CataloguesTest, EveryTextIsFinishedInBothCatalogues) {
    for (const char* name : {"kalvera_en.ts", "kalvera_ru.ts"}) {
        const QString ts = Catalogue(name);
        EXPECT_GT(ts.count(QStringLiteral("<message>")), 100) << name;
        EXPECT_FALSE(ts.contains(QStringLiteral("type=\"unfinished\""))) << name;
        EXPECT_FALSE(ts.contains(QStringLiteral("<translation></translation>"))) << name;
    }
}

TEST(CataloguesTest, NoEnglishTranslationHasACyrillicLetter) {
    static const QRegularExpression translation(QStringLiteral("<translation>(.*?)</translation>"),
                                                QRegularExpression::DotMatchesEverythingOption);
    auto matches = translation.globalMatch(Catalogue("kalvera_en.ts"));
    ASSERT_TRUE(matches.hasNext());
    while (matches.hasNext()) {
        const QString text = matches.next().captured(1);
        EXPECT_FALSE(HasCyrillic(text)) << text.toStdString();
    }
}

TEST_F(LanguageTest, RussianTextsStayAsTheyWere) {
    ASSERT_TRUE(InstallLanguage(*QCoreApplication::instance(), AppLanguage::Russian));
    const struct {
        std::string shown, expected;
    } rows[] = {
        {HeaderLine1(), "КАЛВЕРА"},
        {HeaderLine2(HeaderForm::SaveButton, "Москва", "07.12.2026", "10.00"),
         "РРП а/п Москва. Дата 07.12.2026 Время 10.00 сгв"},
        {HeaderLine2(HeaderForm::Automatic, "Москва", "07.12.2026", "10.00"),
         "РРП а/пМосква. Дата 07.12.2026 Время 10.00 сгв"},
        {HeaderLine3(7), "Слой 7"},
        {HeaderLine3(kLayerColumnMax), "Макс. отражаемость"},
        {LayerTitle(4), "Отр. 4 - 5 км."},
        {LegendLabel(22, 17), "шквал  умеренный"},
        {DataAgeText("07.12 23.55, нет данных 2 ч 05 мин").toStdString(),
         "07.12 23.55, нет данных 2 ч 05 мин"},
        {ShortDateText(FixtureNow()), "07.12.2026"},
    };
    for (const auto& row : rows) EXPECT_EQ(row.shown, row.expected);
    start();
    EXPECT_EQ(form().windowTitle(), QStringLiteral("КАЛВЕРА"));
    EXPECT_EQ(form().controls().autoCheckBox->text(), QStringLiteral("Автообновление"));
}

TEST_F(LanguageTest, EnglishTextsAndDatesFollowTheCatalogue) {
    ASSERT_TRUE(InstallLanguage(*QCoreApplication::instance(), AppLanguage::English));
    EXPECT_EQ(HeaderLine2(HeaderForm::SaveButton, "Москва", "12/7/26", "10.00"),
              "Radar Москва. Date 12/7/26 Time 10.00 UTC");
    EXPECT_EQ(DataAgeText("07.12 23.55, нет данных 2 ч 05 мин"),
              QStringLiteral("07.12 23.55, no data 2 h 05 min"));
    EXPECT_EQ(ShortDateText(FixtureNow()), "12/7/26");
}

TEST_F(LanguageTest, AnEnglishStartShowsNoCyrillicOutsideTheData) {
    QCoreApplication& app = *QCoreApplication::instance();
    ASSERT_TRUE(InstallLanguage(app, AppLanguage::English));
    ASSERT_TRUE(InstallQtTranslations(app, AppLanguage::English));
    dir.addTerm("S1", DayFromNow(0), 10, 0, {1, 2}, 30);
    start();
    ASSERT_TRUE(form().started());
    EXPECT_EQ(form().controls().autoCheckBox->text(), QStringLiteral("Auto update"));
    TcalendarForm picker(form().viewer().config, form().display(), &form());
    SectionWindow section(form().viewer().config, dialogs, &form());
    HistoryWindow history(form().viewer().config, dialogs, &form());
    QMessageBox box(QMessageBox::NoIcon, QString(), QString(),
                    QMessageBox::Ok | QMessageBox::Cancel | QMessageBox::Save | QMessageBox::Yes |
                        QMessageBox::No);
    FirstStartDialog firstStart(QStringLiteral("/a"), QStringLiteral("/b"));
    // The picture's menu is made on its first call.
    const QPoint middle = Rect(area()).center();
    QContextMenuEvent menuCall(QContextMenuEvent::Mouse, middle, form().mapToGlobal(middle),
                               Qt::ControlModifier);
    QCoreApplication::sendEvent(&form(), &menuCall);
    ASSERT_NE(form().vertical->pictureMenu(), nullptr);
    EXPECT_FALSE(HasCyrillic(WindowKeys::Help())) << WindowKeys::Help().toStdString();
    for (const QWidget* widget : QApplication::allWidgets()) {
        for (const QString& text : ShownTexts(*widget, form().controls().locListBox)) {
            EXPECT_FALSE(HasCyrillic(text))
                << widget->metaObject()->className() << ": " << text.toStdString();
        }
    }
}

}  // namespace kalvera::navtest
