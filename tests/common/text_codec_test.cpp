#include "common/text_codec.h"

#include <gtest/gtest.h>

namespace kalvera {
namespace {

// "Москва" in Windows-1251.
const std::string kMoscowCp1251 = "\xCC\xEE\xF1\xEA\xE2\xE0";
const std::string kMoscowUtf8 = "Москва";

TEST(ResourceText, Windows1251IsConvertedToUtf8) {
    EXPECT_EQ(Cp1251ToUtf8(kMoscowCp1251), kMoscowUtf8);
    EXPECT_EQ(Cp1251ToUtf8("\xB8\xA8"), "ёЁ");
    EXPECT_EQ(Cp1251ToUtf8("site1 \xCC\xEE\xF1\xEA\xE2\xE0\n"), "site1 Москва\n");
}

TEST(ResourceText, Utf8InputIsTakenAsItStands) {
    EXPECT_EQ(Cp1251ToUtf8(kMoscowUtf8), kMoscowUtf8);
    EXPECT_EQ(Cp1251ToUtf8("plain ascii 123"), "plain ascii 123");
    EXPECT_EQ(Cp1251ToUtf8(""), "");
}

TEST(ResourceText, AByteWithoutACharacterBecomesAQuestionMark) {
    // 0x98 is the one unassigned Windows-1251 byte.
    EXPECT_EQ(Cp1251ToUtf8("\xC0\x98\xC1"), "А?Б");
}

TEST(ResourceText, Utf8GoesBackToWindows1251) {
    EXPECT_EQ(Utf8ToCp1251(kMoscowUtf8), kMoscowCp1251);
    EXPECT_EQ(Utf8ToCp1251("abc"), "abc");
    EXPECT_EQ(Cp1251ToUtf8(Utf8ToCp1251("Ёлки-палки №5")), "Ёлки-палки №5");
}

TEST(ResourceText, CharactersWithoutAWindows1251FormBecomeQuestionMarks) {
    EXPECT_EQ(Utf8ToCp1251("a中b"), "a?b");
    // A broken sequence is skipped byte by byte rather than stopping the text.
    EXPECT_EQ(Utf8ToCp1251("a\xFF"
                           "b"),
              "a?b");
    EXPECT_EQ(Utf8ToCp1251("a\xD0"), "a?");
}

TEST(Utf8Validation, AcceptsWellFormedText) {
    EXPECT_TRUE(IsValidUtf8(""));
    EXPECT_TRUE(IsValidUtf8("abc"));
    EXPECT_TRUE(IsValidUtf8(kMoscowUtf8));
    EXPECT_TRUE(IsValidUtf8("\xEF\xBF\xBD"));      // U+FFFD
    EXPECT_TRUE(IsValidUtf8("\xF4\x8F\xBF\xBF"));  // U+10FFFF
}

TEST(Utf8Validation, RejectsMalformedSequences) {
    EXPECT_FALSE(IsValidUtf8(kMoscowCp1251));
    EXPECT_FALSE(IsValidUtf8("\xC0\x80"));          // overlong NUL
    EXPECT_FALSE(IsValidUtf8("\xE0\x80\xAF"));      // overlong '/'
    EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));      // surrogate
    EXPECT_FALSE(IsValidUtf8("\xF4\x90\x80\x80"));  // beyond U+10FFFF
    EXPECT_FALSE(IsValidUtf8("\xD0"));              // cut short
    EXPECT_FALSE(IsValidUtf8("\xE2\x82"));
    EXPECT_FALSE(IsValidUtf8("\x80"));  // lone continuation
}

}  // namespace
}  // namespace kalvera
