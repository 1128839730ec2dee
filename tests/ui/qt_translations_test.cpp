// Qt's own dialogs speak Russian whatever the locale.

#include "ui/qt_translations.h"

#include "ui/navigation_fixture.h"

namespace kalvera::navtest {

TEST(QtTranslationsTest, QtsOwnDialogTextsTurnRussian) {
    EnsureApplication();
    ASSERT_TRUE(InstallQtTranslations(*QCoreApplication::instance()));
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Отмена"));
}

}  // namespace kalvera::navtest
