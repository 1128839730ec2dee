#pragma once
// Support shared by the window, navigation, picture-control and date-picker
// tests: a start directory with settings and site archives written by the
// project's own BUFR writer, a dialog seam that answers without a person, and
// a main window started on them with a fixed clock.

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QListWidget>
#include <QScrollBar>
#include <QTimer>
#include <QToolButton>
#include <atomic>
#include <filesystem>
#include <fstream>

#include "archive/day_archive.h"
#include "common/clock.h"
#include "common/date_time.h"
#include "support/temp_dir.h"
#include "ui/dialogs.h"
#include "ui/main_window.h"

namespace kalvera::navtest {

namespace fs = std::filesystem;

// A site and the radar position its messages carry.
struct SiteSetup {
    std::string code;
    float lat = 0.0f;
    float lon = 0.0f;
};

// A start directory of the running test's own: settings, res/ and one data
// directory per site. The first site is the configured one.
class StartDir {
  public:
    StartDir(int updatePeriod, std::vector<SiteSetup> sites);

    const std::string& path() const { return path_; }
    std::string dataRoot() const { return path_ + "/data/"; }
    std::string siteDir(const std::string& site) const { return SiteDirectory(dataRoot(), site); }

    // Appends one message per layer code for the term to the day's base file
    // and an index record for each. Cells within 40 km of the site get
    // `value`, the rest 0.
    void addTerm(const std::string& site, const std::string& day, int hour, int minute,
                 const std::vector<int>& layers, int value = 10) const;
    // Appends one bare index record, pointing wherever the test wants.
    void addRecord(const std::string& site, const std::string& day, int hour, int minute, int layer,
                   int32_t offset) const;
    // An empty file in a site's directory.
    void touch(const std::string& site, const std::string& name) const;

  private:
    testing::TempDir dir_;
    std::string path_ = dir_.str();
    std::vector<SiteSetup> sites_;
};

// Answers every dialog from a script and records what was asked. A message
// with a title is recorded as "title: text".
struct ScriptedDialogs : Dialogs {
    void showMessage(QWidget*, const QString& text, const QString& title) override {
        messages.push_back(title.isEmpty() ? text : title + ": " + text);
    }
    std::optional<uint32_t> chooseColour(QWidget*, uint32_t) override {
        ++colourCalls;
        return colour;
    }
    std::optional<QString> chooseSaveFile(QWidget*, const SaveDialogOptions&) override {
        return saveFile;
    }
    bool setUpPrinter(QWidget*, QPrinter&) override { return false; }
    void runModal(QDialog& dialog) override {
        ++modalCalls;
        if (onModal) onModal(dialog);
    }

    std::vector<QString> messages;
    std::optional<uint32_t> colour;
    std::optional<QString> saveFile;
    std::function<void(QDialog&)> onModal;
    int colourCalls = 0;
    int modalCalls = 0;
};

// 12:00 GMT on 7 December 2026, a Monday, and the day name `days` later.
inline double FixtureNow() {
    return EncodeDate(2026, 12, 7) + 0.5;
}
inline std::string DayFromNow(int days) {
    return DayNameOf(FixtureNow() + days);
}

inline QStringList Items(const QListWidget* list) {
    QStringList items;
    for (int i = 0; i < list->count(); ++i) items << list->item(i)->text();
    return items;
}
inline QRect Rect(const LayoutRect& r) {
    return QRect(r.left, r.top, r.width, r.height);
}

// A start directory and a fixed clock; the main window starts, decoding
// through the real loader while counting the decodes, once the test has
// written its data.
class WindowTest : public ::testing::Test {
  protected:
    explicit WindowTest(std::vector<SiteSetup> sites = {{"S1", 55.0f, 37.0f}},
                        int updatePeriod = 60)
        : dir(updatePeriod, std::move(sites)), clock(FixtureNow()) {}

    // `fitFrame`: the window is sized again to its frame once shown.
    void start(int screenHeight = 768, bool fitFrame = false);
    TForm1& form() { return *window; }
    const DisplayState& state() { return window->display(); }
    const LayoutRect& area() { return window->viewer().layout.picture; }

    StartDir dir;
    FixedClock clock;
    ScriptedDialogs dialogs;
    // Counted from the animation writer's thread too.
    std::atomic<int> decodes = 0;
    std::unique_ptr<TForm1> window;
};

}  // namespace kalvera::navtest
