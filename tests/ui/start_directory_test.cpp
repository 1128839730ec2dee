// Where the viewer starts: the working directory, a remembered start
// directory, the user's own one, or the first-start window's answer.

#include "ui/start_directory.h"

#include <QCommandLinkButton>
#include <QFileInfo>
#include <deque>

#include "demo/demo_sites.h"
#include "ui/first_start_dialog.h"
#include "ui/navigation_fixture.h"

namespace kalvera::navtest {

namespace {

// Answers the first-start window and the directory chooser from queues; an
// exhausted queue quits, so that a wrong loop ends.
struct FirstStartDialogs : ScriptedDialogs {
    FirstStartAnswer askFirstStart(const QString&, const QString& userDir) override {
        askedFor.push_back(userDir);
        if (answers.empty()) return FirstStartAnswer::Quit;
        const FirstStartAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    }
    std::optional<QString> chooseDirectory(const QString&, const QString&) override {
        if (chosen.empty()) return std::nullopt;
        const std::optional<QString> answer = chosen.front();
        chosen.pop_front();
        return answer;
    }
    std::deque<FirstStartAnswer> answers;
    std::deque<std::optional<QString>> chosen;
    std::vector<QString> askedFor;
};

class StartDirectoryTest : public ::testing::Test {
  protected:
    QString place(const char* name, bool withSettings) const {
        const std::string dir = root.mkdir(name);
        if (withSettings) root.write(std::string(name) + "/settings", "/d/ 60 S x 55 37");
        return QString::fromStdString(dir);
    }
    StartPlaces places() const { return {place("home", false), QString(), place("user", false)}; }
    // Writes the settings the real demo would, or fails with `failure`.
    DemoWriter writer(bool succeed, const QString& failure = {}) {
        return [this, succeed, failure](const QString& dir, BackgroundWork&, QString& error) {
            demoDirs.push_back(dir);
            std::ofstream(dir.toStdString() + "/settings") << "x";
            error = failure;
            return succeed;
        };
    }
    testing::TempDir root;
    FirstStartDialogs dialogs;
    std::vector<QString> demoDirs;
};

}  // namespace

TEST_F(StartDirectoryTest, TheFirstPlaceWithSettingsWins) {
    const struct {
        const char* name;
        bool current, remembered, user;
        const char* expected;  // "" when none holds settings
    } rows[] = {
        {"started in a start directory", true, true, true, "current"},
        {"menu entry, a directory was chosen", false, true, true, "remembered"},
        {"menu entry, the chosen one lost its settings", false, false, true, "user"},
        {"nothing anywhere", false, false, false, ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        testing::TempDir fresh;
        const auto make = [&fresh](const char* name, bool settings) {
            const std::string dir = fresh.mkdir(name);
            if (settings) fresh.write(std::string(name) + "/settings", "x");
            return QString::fromStdString(dir);
        };
        const StartPlaces at{make("current", row.current), make("remembered", row.remembered),
                             make("user", row.user)};
        const QString expected =
            *row.expected ? QString::fromStdString(fresh.file(row.expected)) : QString();
        EXPECT_EQ(ResolveStartDirectory(at), expected);
    }
    EXPECT_EQ(ResolveStartDirectory({}), QString()) << "no remembered directory at all";
}

TEST_F(StartDirectoryTest, FoundSettingsAskNothing) {
    const StartPlaces at{place("home", false), QString(), place("user", true)};
    const StartChoice choice = ChooseStartDirectory(at, dialogs, writer(true));
    EXPECT_EQ(choice.directory, at.user);
    EXPECT_FALSE(choice.remember);
    EXPECT_TRUE(dialogs.askedFor.empty());
}

TEST_F(StartDirectoryTest, QuitLeavesWithoutADirectory) {
    dialogs.answers = {FirstStartAnswer::Quit};
    EXPECT_TRUE(ChooseStartDirectory(places(), dialogs, writer(true)).directory.isEmpty());
    EXPECT_EQ(dialogs.askedFor.size(), 1u);
    EXPECT_TRUE(demoDirs.empty());
}

TEST_F(StartDirectoryTest, TheDemoIsWrittenIntoTheUsersDirectoryAndOpened) {
    const StartPlaces at = places();
    dialogs.answers = {FirstStartAnswer::CreateDemo};
    const StartChoice choice = ChooseStartDirectory(at, dialogs, writer(true));
    EXPECT_EQ(choice.directory, at.user);
    EXPECT_FALSE(choice.remember) << "the user's directory is found without remembering";
    EXPECT_EQ(demoDirs, std::vector<QString>{at.user});
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(StartDirectoryTest, AFailedOrCancelledDemoLeavesNoSettingsAndAsksAgain) {
    const StartPlaces at = places();
    dialogs.answers = {FirstStartAnswer::CreateDemo, FirstStartAnswer::CreateDemo};
    const StartChoice choice = ChooseStartDirectory(at, dialogs, writer(false, "диск полон"));
    EXPECT_TRUE(choice.directory.isEmpty());
    EXPECT_EQ(dialogs.askedFor.size(), 3u);
    EXPECT_EQ(dialogs.messages, std::vector<QString>(2, QStringLiteral("КАЛВЕРА: диск полон")));
    EXPECT_FALSE(HoldsSettings(at.user)) << "half a demo is not a start directory";

    dialogs.messages.clear();
    dialogs.answers = {FirstStartAnswer::CreateDemo};
    ChooseStartDirectory(at, dialogs, writer(false));
    EXPECT_TRUE(dialogs.messages.empty()) << "a cancel is not reported";
    EXPECT_FALSE(HoldsSettings(at.user));
}

TEST_F(StartDirectoryTest, AChosenDirectoryMustHoldSettingsAndIsRemembered) {
    const QString empty = place("empty", false);
    const QString office = place("office", true);
    dialogs.answers = {FirstStartAnswer::ChooseDirectory, FirstStartAnswer::ChooseDirectory,
                       FirstStartAnswer::ChooseDirectory};
    dialogs.chosen = {std::nullopt, empty, office};
    const StartChoice choice = ChooseStartDirectory(places(), dialogs, writer(true));
    EXPECT_EQ(choice.directory, office);
    EXPECT_TRUE(choice.remember);
    EXPECT_EQ(dialogs.messages,
              std::vector<QString>{
                  QStringLiteral("КАЛВЕРА: В каталоге %1 нет файла settings.").arg(empty)});
}

TEST_F(StartDirectoryTest, TheDemoRefusesAPathTheSettingsCannotHold) {
    const QString spaced = QString::fromStdString(root.file("Иван Петров"));
    BackgroundWork work;
    QString error;
    EXPECT_FALSE(WriteDemoArchive(spaced, work, error));
    EXPECT_TRUE(error.contains(QStringLiteral("пробел"))) << error.toStdString();
    EXPECT_FALSE(QFileInfo::exists(spaced));
}

TEST(FirstStartDialogTest, EachButtonGivesItsAnswerAndClosingQuits) {
    const struct {
        QCommandLinkButton* FirstStartDialog::*button;
        FirstStartAnswer answer;
    } rows[] = {
        {&FirstStartDialog::demoButton, FirstStartAnswer::CreateDemo},
        {&FirstStartDialog::chooseButton, FirstStartAnswer::ChooseDirectory},
        {&FirstStartDialog::quitButton, FirstStartAnswer::Quit},
    };
    for (const auto& row : rows) {
        FirstStartDialog dialog(QStringLiteral("/home/op"), QStringLiteral("/home/op/.local"));
        (dialog.*row.button)->click();
        EXPECT_EQ(dialog.answer(), row.answer);
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
    }
    FirstStartDialog closed(QStringLiteral("/a"), QStringLiteral("/b"));
    closed.reject();
    EXPECT_EQ(closed.answer(), FirstStartAnswer::Quit);
}

TEST(FirstStartDialogTest, TheDemoChoiceCountsTheSitesTheGeneratorWrites) {
    const FirstStartDialog dialog(QStringLiteral("/a"), QStringLiteral("/b"));
    EXPECT_TRUE(dialog.demoButton->description().contains(
        QStringLiteral("(%1)").arg(demo::DemoSites().size())))
        << dialog.demoButton->description().toStdString();
}

}  // namespace kalvera::navtest
