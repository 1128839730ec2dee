#include "common/text_codec.h"

#include <gtest/gtest.h>

namespace kalvera {
namespace {

// "Москва" in Windows-1251.
const std::string kMoscowCp1251 = "\xCC\xEE\xF1\xEA\xE2\xE0";

TEST(ResourceText, Windows1251BecomesUtf8AndValidUtf8StandsAsItIs) {
    EXPECT_EQ(Cp1251ToUtf8("site1 " + kMoscowCp1251 + "\n"), "site1 Москва\n");
    EXPECT_EQ(Cp1251ToUtf8("\xB8\xA8"), "ёЁ");
    EXPECT_EQ(Cp1251ToUtf8("Москва"), "Москва");
    // 0x98 is the one unassigned Windows-1251 byte.
    EXPECT_EQ(Cp1251ToUtf8("\xC0\x98\xC1"), "А?Б");
}

TEST(ResourceText, Utf8GoesBackToWindows1251WithQuestionMarksForTheRest) {
    EXPECT_EQ(Utf8ToCp1251("Москва"), kMoscowCp1251);
    EXPECT_EQ(Cp1251ToUtf8(Utf8ToCp1251("Ёлки-палки №5")), "Ёлки-палки №5");
    EXPECT_EQ(Utf8ToCp1251("a中b"), "a?b");
    // A broken sequence is skipped byte by byte rather than stopping the text.
    EXPECT_EQ(Utf8ToCp1251("a\xFF"
                           "b"),
              "a?b");
    EXPECT_EQ(Utf8ToCp1251("a\xD0"), "a?");
}

TEST(Utf8Validation, AcceptsWellFormedTextOnly) {
    for (const std::string ok : {"", "Москва", "\xEF\xBF\xBD", "\xF4\x8F\xBF\xBF"}) {
        EXPECT_TRUE(IsValidUtf8(ok)) << ok;
    }
    const struct {
        const char* name;
        std::string text;
    } bad[] = {
        {"Windows-1251", kMoscowCp1251},         {"overlong NUL", "\xC0\x80"},
        {"overlong slash", "\xE0\x80\xAF"},      {"surrogate", "\xED\xA0\x80"},
        {"beyond U+10FFFF", "\xF4\x90\x80\x80"}, {"cut short", "\xE2\x82"},
        {"lone continuation", "\x80"},
    };
    for (const auto& row : bad) EXPECT_FALSE(IsValidUtf8(row.text)) << row.name;
}

}  // namespace
}  // namespace kalvera
