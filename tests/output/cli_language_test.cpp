// The texts kalvera-cli draws on its pictures follow --lang, Russian unless
// told otherwise, as in the viewer.

#include "output/cli_fixture.h"

namespace kalvera {

using CliLanguage = testing::CliArchive;

TEST_F(CliLanguage, RussianIsTheDefaultAndEnglishIsAsked) {
    const std::string plain = dir.file("plain.png"), russian = dir.file("ru.png"),
                      english = dir.file("en.png");
    ASSERT_EQ(run(args(plain)), 0) << err;
    ASSERT_EQ(run(args(russian) + " --lang ru"), 0) << err;
    ASSERT_EQ(run(args(english) + " --lang en"), 0) << err;
    EXPECT_EQ(testing::ReadWholeFile(plain), testing::ReadWholeFile(russian));
    EXPECT_NE(load(plain), load(english));
    EXPECT_EQ(run(args(plain) + " --lang fr"), 2);
}

TEST_F(CliLanguage, ThePrintedPageSpeaksTheChosenLanguage) {
    if (!testing::HaveTool("pdftotext")) GTEST_SKIP() << "pdftotext is not installed";
    const struct {
        const char* lang;
        const char* layerLine;
    } rows[] = {{"ru", "Слой 22"}, {"en", "Layer 22"}};
    for (const auto& row : rows) {
        const std::string out = dir.file(std::string(row.lang) + ".pdf");
        ASSERT_EQ(run(args(out) + " --lang " + row.lang), 0) << err;
        const std::string text = testing::CommandOutput("pdftotext " + out + " -");
        EXPECT_NE(text.find(row.layerLine), std::string::npos) << row.lang << ": " << text;
    }
}

}  // namespace kalvera
