#include "ui/navigation_fixture.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <fstream>

#include "archive/day_archive.h"
#include "bufr/bufr_writer.h"
#include "common/date_time.h"
#include "decode/picture_loader.h"
#include "ui/main_window.h"

namespace kalvera::navtest {

namespace fs = std::filesystem;

namespace {

// Raw values as the generic decoder reads them: reflectivity with a
// reference of -64 in 7 bits, heights in 4 bits of kilometres, weather codes
// in 5 bits.
int RawWidth(int layer) {
    return layer == 21 ? 4 : layer == 22 ? 5 : 7;
}
uint32_t RawOf(int layer, int value) {
    if (layer == 21) return static_cast<uint32_t>(std::min(value / 1000, 15));
    if (layer == 22) return static_cast<uint32_t>(std::min(value, 31));
    return static_cast<uint32_t>(std::clamp(value + 64, 0, 127));
}

std::vector<uint8_t> TermMessage(const SiteSetup& site, int hour, int minute, int layer, int value) {
    std::array<int32_t, kGridCells> raw{};
    for (int row = 0; row < kGridSide; ++row) {
        for (int column = 0; column < kGridSide; ++column) {
            const bool near = std::abs(row - 50) < 10 && std::abs(column - 50) < 10;
            raw[row * kGridSide + column] = static_cast<int32_t>(RawOf(layer, near ? value : 0));
        }
    }
    bufr::GenericProduct product;
    product.shortName = site.code;
    product.hour = static_cast<uint8_t>(hour);
    product.minute = static_cast<uint8_t>(minute);
    product.latitudeRaw = static_cast<uint16_t>(std::lround(site.lat * 100.0f) + 9000);
    product.longitudeRaw = static_cast<uint16_t>(std::lround(site.lon * 100.0f) + 18000);
    product.imageElement = layer == 21   ? bufr::Descriptor{0, 21, 21}
                           : layer == 22 ? bufr::Descriptor{0, 21, 22}
                                         : bufr::Descriptor{0, 21, 1};
    product.valueWidth = RawWidth(layer);
    product.groups = bufr::runLengthGroups(raw);
    return bufr::writeGenericMessage(product);
}

void PutLittleEndian(std::array<char, 16>& record, int at, int32_t value) {
    for (int i = 0; i < 4; ++i) record[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

}  // namespace

StartDir::StartDir(const std::string& tag, int updatePeriod, std::vector<SiteSetup> sites)
    : sites_(std::move(sites)) {
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    path_ = (fs::temp_directory_path() / ("kalvera_" + tag + "_" + std::to_string(::getpid()) +
                                          "_" + (test != nullptr ? test->name() : "none")))
                .string();
    fs::remove_all(path_);
    fs::create_directories(path_ + "/res");
    fs::create_directories(path_ + "/data");
    std::ofstream settings(path_ + "/settings");
    settings << dataRoot() << "\n"
             << updatePeriod << "\n"
             << (sites_.empty() ? std::string("NONE") : sites_.front().code) << "\nspare\n"
             << "55.0\n37.0\n";
    for (const SiteSetup& setup : sites_) fs::create_directories(siteDir(setup.code));
}

StartDir::~StartDir() {
    std::error_code ignored;
    fs::permissions(path_ + "/res", fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(path_, ignored);
}

std::string StartDir::indexPath(const std::string& site, const std::string& day) const {
    return siteDir(site) + "/" + day + ".ind";
}

const SiteSetup* StartDir::site(const std::string& code) const {
    for (const SiteSetup& setup : sites_)
        if (setup.code == code) return &setup;
    return nullptr;
}

void StartDir::addTerm(const std::string& code, const std::string& day, int hour, int minute,
                       const std::vector<int>& layers, int value) const {
    const SiteSetup* setup = site(code);
    ASSERT_NE(setup, nullptr) << code;
    const std::string base = siteDir(code) + "/" + day + ".bas";
    std::ofstream baseFile(base, std::ios::binary | std::ios::app);
    std::ofstream indexFile(indexPath(code, day), std::ios::binary | std::ios::app);
    for (int layer : layers) {
        baseFile.seekp(0, std::ios::end);
        const auto offset = static_cast<int32_t>(baseFile.tellp());
        const std::vector<uint8_t> message = TermMessage(*setup, hour, minute, layer, value);
        baseFile.write(reinterpret_cast<const char*>(message.data()),
                       static_cast<std::streamsize>(message.size()));
        std::array<char, 16> record{};
        record[0] = static_cast<char>(hour);
        record[1] = static_cast<char>(minute);
        record[2] = static_cast<char>(layer);
        PutLittleEndian(record, 4, offset);
        indexFile.write(record.data(), record.size());
    }
}

void StartDir::addRecord(const std::string& code, const std::string& day, int hour, int minute,
                         int layer, int32_t offset) const {
    std::ofstream indexFile(indexPath(code, day), std::ios::binary | std::ios::app);
    std::array<char, 16> record{};
    record[0] = static_cast<char>(hour);
    record[1] = static_cast<char>(minute);
    record[2] = static_cast<char>(layer);
    PutLittleEndian(record, 4, offset);
    indexFile.write(record.data(), record.size());
}

WindowUnderTest::WindowUnderTest(const StartDir& dir, const Clock& clock, int screenHeight) {
    EnsureApplication();
    const fs::path before = fs::current_path();
    fs::current_path(dir.path());
    TForm1Options options;
    options.screenSize = QSize(1280, screenHeight);
    options.decoder = [this](int32_t offset, RadarPicture& picture, DisplayState& state) {
        ++decodes;
        return loadPicture(offset, picture, state);
    };
    form = std::make_unique<TForm1>(dialogs, clock, options);
    fs::current_path(before);
}

WindowUnderTest::~WindowUnderTest() {
    form.reset();
}

double FixtureNow() {
    return EncodeDate(2026, 12, 7) + 0.5;
}

std::string DayFromNow(int days) {
    return DayNameOf(FixtureNow() + days);
}

}  // namespace kalvera::navtest
