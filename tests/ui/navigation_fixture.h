#pragma once
// Helpers shared by the navigation, picture-control and date-picker tests: a
// start directory with settings and site archives written by the project's
// own BUFR writer, a dialog seam that answers without a person, and a main
// window built on them with a fixed clock.

#include <QApplication>
#include <QDialog>
#include <QString>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "common/clock.h"
#include "ui/dialogs.h"

namespace kalvera {

class TForm1;

// One application object for the whole test program, whichever test needs it
// first.
inline void EnsureApplication() {
    if (QCoreApplication::instance() != nullptr) return;
    static int argc = 1;
    static char name[] = "kalvera_tests";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);
    (void)app;
}

namespace navtest {

// The sites the fixture knows, with the radar position their messages carry.
struct SiteSetup {
    std::string code;
    float lat = 0.0f;
    float lon = 0.0f;
};

// A start directory in the temporary directory: settings, res/ and one data
// directory per site. Removed again on destruction.
class StartDir {
  public:
    StartDir(const std::string& tag, int updatePeriod, std::vector<SiteSetup> sites);
    ~StartDir();
    StartDir(const StartDir&) = delete;
    StartDir& operator=(const StartDir&) = delete;

    const std::string& path() const { return path_; }
    std::string dataRoot() const { return path_ + "/data/"; }
    std::string siteDir(const std::string& site) const { return dataRoot() + site; }
    std::string indexPath(const std::string& site, const std::string& day) const;

    // Appends one message per layer code for the term to the day's base file
    // and a 16-byte index record for each. Cells within 40 km of the site get
    // `value`, the rest 0.
    void addTerm(const std::string& site, const std::string& day, int hour, int minute,
                 const std::vector<int>& layers, int value = 10) const;

    // Appends one bare index record, pointing wherever the test wants.
    void addRecord(const std::string& site, const std::string& day, int hour, int minute, int layer,
                   int32_t offset) const;

  private:
    const SiteSetup* site(const std::string& code) const;
    std::string path_;
    std::vector<SiteSetup> sites_;
};

// Answers every dialog from a script and records what was asked.
class ScriptedDialogs : public Dialogs {
  public:
    void showMessage(QWidget*, const QString& text, const QString& title) override {
        messages.push_back(text);
        titles.push_back(title);
    }
    std::optional<uint32_t> chooseColour(QWidget*, uint32_t initial) override {
        ++colourCalls;
        colourOffered = initial;
        return colour;
    }
    std::optional<QString> chooseSaveFile(QWidget*, const SaveDialogOptions&) override {
        return std::nullopt;
    }
    bool setUpPrinter(QWidget*, QPrinter&) override { return false; }
    void runModal(QDialog& dialog) override {
        ++modalCalls;
        if (onModal) onModal(dialog);
    }

    std::vector<QString> messages;
    std::vector<QString> titles;
    std::optional<uint32_t> colour;
    uint32_t colourOffered = 0;
    int colourCalls = 0;
    std::function<void(QDialog&)> onModal;
    int modalCalls = 0;
};

// A main window started in `dir` with `clock`, decoding through the real
// loader while counting the decodes. Restores the current directory after
// start-up, as the window keeps its start directory itself.
struct WindowUnderTest {
    WindowUnderTest(const StartDir& dir, const Clock& clock, int screenHeight = 768);
    ~WindowUnderTest();

    ScriptedDialogs dialogs;
    int decodes = 0;
    std::unique_ptr<TForm1> form;
};

// 12:00 local time on 7 December 2026, a Monday.
double FixtureNow();
// Day name of FixtureNow() plus `days`.
std::string DayFromNow(int days);

}  // namespace navtest
}  // namespace kalvera
