// The start-up message of a settings file the viewer cannot use is Russian and
// names the file and the token at fault.

#include "ui/start_messages.h"

#include <gtest/gtest.h>

#include <QRegularExpression>
#include <filesystem>

#include "support/temp_dir.h"

namespace kalvera {
namespace {

TEST(StartMessagesTest, EveryFailureIsToldInRussian) {
    const struct {
        const char* settings;  // nullptr: no settings file
        const char* says;
    } rows[] = {
        {nullptr, "Не удалось прочитать файл настроек"},
        {"/d/ 60", "нет значения 3 (станция по умолчанию); в файле 2 из 6 значений."},
        {"/d/ abc S x 55 37", "значение 2 (период обновления) «abc» не является целым числом."},
        {"/d/ 60 S x 55 east", "значение 6 (долгота центра) «east» не является числом."},
        {"/d/ 60 S x 55 37", "Не удалось прочитать таблицу станций"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.says);
        testing::TempDir dir;
        if (row.settings) dir.write("settings", row.settings);
        dir.mkdir("res/towns.txt");  // a table that cannot be read
        AppConfig config;
        SettingsFailure failure;
        EXPECT_FALSE(LoadSettingsFrom(config, dir.str(), failure));
        QString text = StartErrorText(failure);
        EXPECT_TRUE(text.contains(QString::fromUtf8(row.says))) << text.toStdString();
        EXPECT_TRUE(text.contains(QString::fromStdString(failure.path)));
        text.remove(QString::fromStdString(failure.path));
        text.remove(QString::fromStdString(failure.tokenText));
        EXPECT_FALSE(text.contains(QRegularExpression(QStringLiteral("[A-Za-z]"))))
            << text.toStdString();
    }
}

}  // namespace
}  // namespace kalvera
