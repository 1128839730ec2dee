// Loading a picture from a base file: the path the viewer takes.

#include <gtest/gtest.h>

#include "decode/picture_loader.h"
#include "decode_fixtures.h"

namespace kalvera {
namespace {

using testing::Bytes;
using testing::concat;
using testing::TempFile;

bufr::FixedProduct filledFixed() {
    std::array<int32_t, 10000> indices{};
    indices.fill(1);
    bufr::FixedProduct p = testing::smallFixedProduct();
    p.rows = bufr::runLengthRows(indices);
    return p;
}

TEST(PictureLoading, ChoosesTheDecoderByTheFirstDescriptor) {
    bufr::GenericProduct generic = testing::smallGenericProduct();
    generic.groups.push_back({10000, 100, {}});
    const Bytes fixed = bufr::writeFixedMessage(filledFixed());
    const Bytes gen = bufr::writeGenericMessage(generic);
    const TempFile file(concat({fixed, gen}));
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

TEST(PictureLoading, OtherFirstDescriptorLoadsWithoutChangingThePicture) {
    bufr::MessageOptions options;
    options.descriptors = std::vector<bufr::Descriptor>{{3, 1, 11}, {0, 5, 2}};
    const TempFile file(bufr::buildMessage({}, Bytes{0xFF, 0xFF, 0xFF, 0xFF}, options));
    RadarPicture picture;
    picture.values.fill(8);
    DisplayState state;
    state.basePath = file.path();
    state.siteLat = 1.5f;
    EXPECT_TRUE(loadPicture(0, picture, state));
    EXPECT_EQ(picture.values[0], 8);
    EXPECT_EQ(state.siteLat, 1.5f);
}

TEST(PictureLoading, EmptyDescriptorListLoadsAndDecodesNothing) {
    bufr::MessageOptions options;
    options.descriptors = std::vector<bufr::Descriptor>{};
    const TempFile file(bufr::buildMessage({}, Bytes{1, 2}, options));
    RadarPicture picture;
    picture.values.fill(8);
    DisplayState state;
    state.basePath = file.path();
    PictureLoadReport report;
    EXPECT_TRUE(loadPicture(0, picture, state, report));
    EXPECT_FALSE(report.hasFirstDescriptor);
    EXPECT_EQ(picture.values[0], 8);
}

TEST(PictureLoading, FailuresLeaveThePictureAndStateAlone) {
    bufr::MessageOptions wrongCategory;
    wrongCategory.category = 2;
    const TempFile file(concat({bufr::writeFixedMessage(filledFixed(), wrongCategory)}));
    RadarPicture picture;
    picture.values.fill(8);
    DisplayState state;
    state.basePath = file.path();
    EXPECT_FALSE(loadPicture(0, picture, state));
    EXPECT_FALSE(loadPicture(-1, picture, state));
    state.basePath = file.path() + ".none";
    EXPECT_FALSE(loadPicture(0, picture, state));
    EXPECT_EQ(picture.values[0], 8);
    EXPECT_EQ(state.siteLat, 0.0f);
}

TEST(PictureLoading, TruncatedBaseFileFindsNoMessage) {
    Bytes m = bufr::writeFixedMessage(filledFixed());
    m.resize(m.size() - 1);
    const TempFile file(m);
    RadarPicture picture;
    DisplayState state;
    state.basePath = file.path();
    EXPECT_FALSE(loadPicture(0, picture, state));
}

}  // namespace
}  // namespace kalvera
