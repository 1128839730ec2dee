// Loading a picture from a base file as the viewer does, and through
// kalvera-cli decode and info run as a program.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "archive/index_records.h"
#include "decode/picture_loader.h"
#include "decode_fixtures.h"

namespace kalvera {
namespace {

using testing::Bytes;
using testing::concat;
using testing::TempFile;

Bytes withDescriptors(std::vector<bufr::Descriptor> list, const Bytes& data) {
    bufr::MessageOptions options;
    options.descriptors = std::move(list);
    return bufr::buildMessage({}, data, options);
}

TEST(PictureLoading, ChoosesTheDecoderByTheFirstDescriptor) {
    bufr::GenericProduct generic = testing::smallGenericProduct();
    generic.groups.push_back({10000, 100, {}});
    const Bytes fixed = bufr::writeFixedMessage(testing::filledFixed());
    const TempFile file(concat({fixed, bufr::writeGenericMessage(generic)}));
    RadarPicture picture;
    DisplayState state;
    state.basePath = file.path();
    state.recentre = 1;
    PictureLoadReport report;
    ASSERT_TRUE(loadPicture(0, picture, state, report));
    EXPECT_EQ(report.firstDescriptor.f, 3);
    EXPECT_EQ(report.count, 10000);
    EXPECT_EQ(picture.values[1234], 40);
    EXPECT_FLOAT_EQ(state.siteLat, 60.0f);

    ASSERT_TRUE(loadPicture(static_cast<int32_t>(fixed.size()), picture, state, report));
    EXPECT_EQ(report.firstDescriptor.f, 0);
    EXPECT_EQ(report.firstDescriptor.y, 18);
    EXPECT_EQ(picture.values[1234], 36);
    EXPECT_FLOAT_EQ(state.siteLat, 40.0f);
}

TEST(PictureLoading, NoDecoderOrNoMessageLeavesThePictureAndStateAlone) {
    bufr::MessageOptions wrongCategory;
    wrongCategory.category = 2;
    const Bytes other = withDescriptors({{3, 1, 11}, {0, 5, 2}}, Bytes{0xFF, 0xFF, 0xFF, 0xFF});
    const Bytes none = withDescriptors({}, Bytes{1, 2});
    const Bytes whole = bufr::writeFixedMessage(testing::filledFixed());
    const TempFile file(
        concat({other, none, bufr::writeFixedMessage(testing::filledFixed(), wrongCategory)}));
    const TempFile cut(Bytes(whole.begin(), whole.end() - 1));
    const auto afterOther = static_cast<int32_t>(other.size());
    const struct {
        std::string path;
        int32_t offset;
        bool loads;
        bool hasFirstDescriptor = false;
    } cases[] = {
        {file.path(), 0, true, true},                                          // no decoder for it
        {file.path(), afterOther, true, false},                                // no descriptors
        {file.path(), afterOther + static_cast<int32_t>(none.size()), false},  // category 2
        {file.path(), -1, false},
        {file.path() + ".none", 0, false},
        {cut.path(), 0, false},
    };
    RadarPicture picture;
    picture.values.fill(8);
    DisplayState state;
    state.siteLat = 1.5f;
    for (const auto& c : cases) {
        state.basePath = c.path;
        PictureLoadReport report;
        EXPECT_EQ(loadPicture(c.offset, picture, state, report), c.loads) << c.path << c.offset;
        if (c.loads) {
            EXPECT_EQ(report.hasFirstDescriptor, c.hasFirstDescriptor) << c.offset;
        }
    }
    EXPECT_EQ(picture.values[0], 8);
    EXPECT_EQ(state.siteLat, 1.5f);
}

Bytes indexOf(std::initializer_list<int32_t> offsets) {
    Bytes index;
    uint8_t layer = 1;
    for (const int32_t offset : offsets) {
        IndexRecord record;
        record.hour = 12;
        record.layerCode = layer++;
        record.offset = offset;
        const auto bytes = EncodeIndexRecord(record);
        index.insert(index.end(), bytes.begin(), bytes.end());
    }
    return index;
}

// An archiver that crashed can leave a message's start overwritten; the
// search must not take the next record's message for it.
TEST(PictureLoading, TheSearchNeverRunsIntoAnotherRecordsMessage) {
    const Bytes first = bufr::writeFixedMessage(testing::filledFixed(10));
    const Bytes second = bufr::writeFixedMessage(testing::filledFixed(100));
    Bytes damaged = first;
    std::fill(damaged.begin(), damaged.begin() + 64, uint8_t{0});
    const auto second_at = static_cast<int32_t>(first.size());
    const TempFile base(concat({damaged, second}));
    const TempFile padded(concat({Bytes{'x', 'y', 'z'}, first, second}));
    const TempFile index(indexOf({0, second_at}));
    const TempFile paddedIndex(indexOf({0, second_at + 3}));
    const struct {
        std::string base, index;
        int32_t offset;
        bool loads;
    } cases[] = {
        {base.path(), index.path(), 0, false},         // start damaged
        {base.path(), index.path(), second_at, true},  // its neighbour is whole
        {base.path(), "", 0, true},                    // no index to bound the search
        {padded.path(), paddedIndex.path(), 0, true},  // bytes before its own start
    };
    for (const auto& c : cases) {
        RadarPicture picture;
        DisplayState state;
        state.basePath = c.base;
        state.indexPath = c.index;
        state.recentre = 1;
        PictureLoadReport report;
        EXPECT_EQ(loadPicture(c.offset, picture, state, report), c.loads)
            << c.offset << " " << c.index;
        EXPECT_EQ(report.foundAnotherRecord, !c.loads);
    }
}

struct CliRun {
    int status = -1;
    std::string out;
};

std::string cliPath() {
    return std::string(KALVERA_BINARY_DIR) + "/tools/kalvera-cli";
}

CliRun run(const std::string& arguments) {
    CliRun result;
    const std::string command = cliPath() + " " + arguments + " 2>/dev/null";
    std::FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return result;
    char chunk[4096];
    size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, pipe)) > 0) result.out.append(chunk, n);
    const int status = ::pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

class Cli : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!std::filesystem::exists(cliPath())) GTEST_SKIP() << "kalvera-cli is not built";
    }
};

TEST_F(Cli, DecodeAndInfoPrintWhatTheyFoundAndExitWithTheirStatus) {
    bufr::GenericProduct p = testing::smallGenericProduct();
    p.groups.push_back({3, 100, {101}});
    const TempFile generic(concat({Bytes{'x', 'y'}, bufr::writeGenericMessage(p)}));
    const TempFile fixed(bufr::writeFixedMessage(testing::smallFixedProduct()));
    bufr::MessageOptions wrongCategory;
    wrongCategory.category = 2;
    const TempFile rejected(bufr::writeFixedMessage(testing::smallFixedProduct(), wrongCategory));
    const struct {
        std::string arguments;
        int status;
        std::string text;  // found at the start of the output for decode, anywhere for info
    } cases[] = {
        {"decode " + generic.path() + " 0 --layer 3 --site 26063", 0,
         "{\"ok\": true, \"first_descriptor\": \"0 01 018\", \"count\": 4, \"site_lat\": 40, "
         "\"site_lon\": 30, \"values\": [100, 100, 100, 101, 0, 0"},
        {"decode " + fixed.path() + " -1", 1,
         "{\"ok\": false, \"first_descriptor\": null, \"count\": 0, "},
        {"info " + fixed.path() + " 0", 0, "data category: 6"},
        {"info " + fixed.path() + " 0", 0, "  3 01 001\n    0 01 001  WMO block number"},
        {"info " + rejected.path() + " 0", 1, "\"BUFR\" found at offset 0"},
        {"info " + rejected.path() + " 0", 1, "rejected: data category is not 6"},
        {"decode", 2, ""},
        {"decode somefile 12abc", 2, ""},
        {"decode somefile 0 --layer", 2, ""},
        {"decode somefile 0 --colour red", 2, ""},
        {"info somefile", 2, ""},
    };
    for (const auto& c : cases) {
        const CliRun r = run(c.arguments);
        EXPECT_EQ(r.status, c.status) << c.arguments;
        const size_t at = r.out.find(c.text);
        EXPECT_TRUE(c.arguments.starts_with("info") ? at != std::string::npos : at == 0)
            << c.arguments << "\n"
            << r.out.substr(0, 300);
        // The grid ends with the last of its 10000 cells.
        if (c.status == 0 && c.arguments.starts_with("decode")) {
            EXPECT_EQ(r.out.substr(r.out.size() - 6), ", 0]}\n");
        }
    }
}

}  // namespace
}  // namespace kalvera
