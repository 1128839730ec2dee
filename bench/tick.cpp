// The automatic update tick without its render: the latest-day search, the
// term list and the layer list of the newest term, and the refill of the two
// list boxes. On a site with three full days and on a site with no data at
// all, where the search tries 2000 days in vain.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QApplication>
#include <QListWidget>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "archive/day_archive.h"
#include "archive/index_records.h"
#include "archive/newest_term.h"
#include "common/clock.h"
#include "common/date_time.h"
#include "ui/dialogs.h"
#include "ui/main_window.h"

namespace {

using namespace kalvera;
namespace fs = std::filesystem;

constexpr int kTermsPerDay = 144;   // every 10 minutes
constexpr int kLayersPerTerm = 23;  // 0..22

double Now() {
    return EncodeDate(2026, 12, 7) + 0.5;
}

class TickDir {
  public:
    TickDir() {
        path_ = fs::temp_directory_path() / ("kalvera-bench-tick-" + std::to_string(::getpid()));
        fs::create_directories(path_ / "data" / "FULL");
        fs::create_directories(path_ / "data" / "EMPTY");
        fs::create_directories(path_ / "res");
        std::ofstream(path_ / "settings") << (path_ / "data").string() << "/ 60 FULL x 55 37\n";
        for (int day = 0; day < 3; ++day) writeDay(DayNameOf(Now() - day));
    }
    ~TickDir() {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    std::string path() const { return path_.string(); }
    std::string dataRoot() const { return (path_ / "data").string() + "/"; }

  private:
    void writeDay(const std::string& day) {
        std::ofstream out(path_ / "data" / "FULL" / (day + ".ind"), std::ios::binary);
        for (int term = 0; term < kTermsPerDay; ++term) {
            for (int layer = 0; layer < kLayersPerTerm; ++layer) {
                IndexRecord record;
                record.hour = static_cast<uint8_t>(term / 6);
                record.minute = static_cast<uint8_t>(term % 6 * 10);
                record.layerCode = static_cast<uint8_t>(layer);
                record.offset = (term * kLayersPerTerm + layer) * 2048;
                const auto bytes = EncodeIndexRecord(record);
                out.write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
            }
        }
    }
    fs::path path_;
};

TickDir& Dir() {
    static TickDir dir;
    return dir;
}

void ArchiveWork(benchmark::State& state, const char* site) {
    const FixedClock clock(Now());
    DisplayState display;
    display.siteCode = site;
    for (auto _ : state) {
        NewestTerm newest = FollowNewestTerm(display, Dir().dataRoot(), clock);
        benchmark::DoNotOptimize(newest);
    }
}

// The tick as the window runs it, with a decoder that finds nothing so that
// no picture is drawn and no export is due.
class NoDialogs : public Dialogs {
  public:
    void showMessage(QWidget*, const QString&, const QString&) override {}
    std::optional<uint32_t> chooseColour(QWidget*, uint32_t) override { return std::nullopt; }
    std::optional<QString> chooseSaveFile(QWidget*, const SaveDialogOptions&) override {
        return std::nullopt;
    }
    bool setUpPrinter(QWidget*, QPrinter&) override { return false; }
    void runModal(QDialog&) override {}
};

void WindowTick(benchmark::State& state, int siteRow) {
    static int argc = 1;
    static char name[] = "bench_tick";
    static char* argv[] = {name, nullptr};
    static QApplication* app =
        QCoreApplication::instance() != nullptr ? nullptr : new QApplication(argc, argv);
    (void)app;
    const FixedClock clock(Now());
    NoDialogs dialogs;
    TForm1Options options;
    options.screenSize = QSize(1280, 1024);
    options.decoder = [](int32_t, RadarPicture&, DisplayState&) { return false; };
    const fs::path before = fs::current_path();
    fs::current_path(Dir().path());
    TForm1 form(dialogs, clock, options);
    fs::current_path(before);
    form.controls().locListBox->setCurrentRow(siteRow);
    form.locListBoxClick();
    for (auto _ : state) form.Timer1Timer();
}

void BM_TickArchiveWork_ThreeDays(benchmark::State& state) {
    ArchiveWork(state, "FULL");
}
void BM_TickArchiveWork_NoData(benchmark::State& state) {
    ArchiveWork(state, "EMPTY");
}
void BM_Timer1Timer_ThreeDays(benchmark::State& state) {
    WindowTick(state, 0);
}
void BM_Timer1Timer_NoData(benchmark::State& state) {
    WindowTick(state, 1);
}

BENCHMARK(BM_TickArchiveWork_ThreeDays)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TickArchiveWork_NoData)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Timer1Timer_ThreeDays)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Timer1Timer_NoData)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
