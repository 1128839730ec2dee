#include "ui/navigation_fixture.h"

#include <unistd.h>

#include <algorithm>
#include <array>
#include <cmath>

#include "bufr/bufr_writer.h"
#include "decode/picture_loader.h"

namespace kalvera::navtest {

void EnsureApplication() {
    static int argc = 1;
    static char name[] = "kalvera_tests";
    static char* argv[] = {name, nullptr};
    if (QCoreApplication::instance() == nullptr) new QApplication(argc, argv);
}

namespace {

// Raw values as the generic decoder reads them: reflectivity with a
// reference of -64 in 7 bits, heights in 4 bits of kilometres, weather codes
// in 5 bits.
std::vector<uint8_t> TermMessage(const SiteSetup& site, int hour, int minute, int layer,
                                 int value) {
    std::array<int32_t, kGridCells> raw{};
    for (int cell = 0; cell < kGridCells; ++cell) {
        const bool near =
            std::abs(cell / kGridSide - 50) < 10 && std::abs(cell % kGridSide - 50) < 10;
        const int v = near ? value : 0;
        raw[cell] = layer == 21   ? std::min(v / 1000, 15)
                    : layer == 22 ? std::min(v, 31)
                                  : std::clamp(v + 64, 0, 127);
    }
    bufr::GenericProduct product;
    product.shortName = site.code;
    product.hour = static_cast<uint8_t>(hour);
    product.minute = static_cast<uint8_t>(minute);
    product.latitudeRaw = static_cast<uint16_t>(std::lround(site.lat * 100.0f) + 9000);
    product.longitudeRaw = static_cast<uint16_t>(std::lround(site.lon * 100.0f) + 18000);
    product.imageElement = bufr::Descriptor{0, 21, static_cast<uint8_t>(layer >= 21 ? layer : 1)};
    product.valueWidth = layer == 21 ? 4 : layer == 22 ? 5 : 7;
    product.groups = bufr::runLengthGroups(raw);
    return bufr::writeGenericMessage(product);
}

}  // namespace

StartDir::StartDir(int updatePeriod, std::vector<SiteSetup> sites) : sites_(std::move(sites)) {
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    path_ = fs::temp_directory_path().string() + "/kalvera_ui_" + std::to_string(::getpid()) + "_" +
            test->test_suite_name() + "_" + test->name();
    fs::remove_all(path_);
    fs::create_directories(path_ + "/res");
    std::ofstream(path_ + "/settings")
        << dataRoot() << "\n"
        << updatePeriod << "\n"
        << (sites_.empty() ? "NONE" : sites_.front().code) << "\nspare\n55.0\n37.0\n";
    for (const SiteSetup& setup : sites_) fs::create_directories(siteDir(setup.code));
}

void StartDir::addTerm(const std::string& code, const std::string& day, int hour, int minute,
                       const std::vector<int>& layers, int value) const {
    const auto setup = std::find_if(sites_.begin(), sites_.end(),
                                    [&](const SiteSetup& s) { return s.code == code; });
    ASSERT_NE(setup, sites_.end()) << code;
    std::ofstream base(siteDir(code) + "/" + day + ".bas", std::ios::binary | std::ios::app);
    for (int layer : layers) {
        base.seekp(0, std::ios::end);
        addRecord(code, day, hour, minute, layer, static_cast<int32_t>(base.tellp()));
        const std::vector<uint8_t> message = TermMessage(*setup, hour, minute, layer, value);
        base.write(reinterpret_cast<const char*>(message.data()),
                   static_cast<std::streamsize>(message.size()));
    }
}

void StartDir::addRecord(const std::string& code, const std::string& day, int hour, int minute,
                         int layer, int32_t offset) const {
    std::array<char, 16> record{static_cast<char>(hour), static_cast<char>(minute),
                                static_cast<char>(layer)};
    for (int i = 0; i < 4; ++i) record[4 + i] = static_cast<char>((offset >> (8 * i)) & 0xFF);
    std::ofstream(siteDir(code) + "/" + day + ".ind", std::ios::binary | std::ios::app)
        .write(record.data(), record.size());
}

void StartDir::touch(const std::string& site, const std::string& name) const {
    fs::create_directories(siteDir(site));
    std::ofstream(siteDir(site) + "/" + name).put('\0');
}

void WindowTest::start(int screenHeight, bool fitFrame) {
    EnsureApplication();
    window.reset();
    // The window keeps its start directory itself; the tests' own stays.
    const fs::path before = fs::current_path();
    fs::current_path(dir.path());
    TForm1Options options{QSize(1280, screenHeight),
                          [this](int32_t offset, RadarPicture& picture, DisplayState& state) {
                              ++decodes;
                              return loadPicture(offset, picture, state);
                          },
                          fitFrame};
    window = std::make_unique<TForm1>(dialogs, clock, options);
    fs::current_path(before);
}

}  // namespace kalvera::navtest
