// Loading a picture from a base file: the path the viewer takes.

#include <gtest/gtest.h>

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

TEST(PictureLoading, OtherOrNoFirstDescriptorLoadsWithoutChangingThePicture) {
    const Bytes other = withDescriptors({{3, 1, 11}, {0, 5, 2}}, Bytes{0xFF, 0xFF, 0xFF, 0xFF});
    const Bytes none = withDescriptors({}, Bytes{1, 2});
    const TempFile file(concat({other, none}));
    RadarPicture picture;
    picture.values.fill(8);
    DisplayState state;
    state.basePath = file.path();
    state.siteLat = 1.5f;
    PictureLoadReport report;
    EXPECT_TRUE(loadPicture(0, picture, state, report));
    EXPECT_TRUE(report.hasFirstDescriptor);
    EXPECT_TRUE(loadPicture(static_cast<int32_t>(other.size()), picture, state, report));
    EXPECT_FALSE(report.hasFirstDescriptor);
    EXPECT_EQ(picture.values[0], 8);
    EXPECT_EQ(state.siteLat, 1.5f);
}

TEST(PictureLoading, FailuresLeaveThePictureAndStateAlone) {
    bufr::MessageOptions wrongCategory;
    wrongCategory.category = 2;
    Bytes truncated = bufr::writeFixedMessage(testing::filledFixed());
    truncated.pop_back();
    const TempFile rejected(bufr::writeFixedMessage(testing::filledFixed(), wrongCategory));
    const TempFile cut(truncated);
    RadarPicture picture;
    picture.values.fill(8);
    DisplayState state;
    for (auto [path, offset] : {std::pair{rejected.path(), 0}, std::pair{rejected.path(), -1},
                                std::pair{rejected.path() + ".none", 0}, std::pair{cut.path(), 0}}) {
        state.basePath = path;
        EXPECT_FALSE(loadPicture(offset, picture, state)) << path << " at " << offset;
    }
    EXPECT_EQ(picture.values[0], 8);
    EXPECT_EQ(state.siteLat, 0.0f);
}

}  // namespace
}  // namespace kalvera
