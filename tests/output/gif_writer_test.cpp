#include "output/gif_writer.h"

#include <gtest/gtest.h>

#include <QImage>

#include "output/gif_frames.h"
#include "output/output_test_support.h"
#include "support/file_bytes.h"

namespace kalvera {
namespace {

QImage Frame(QRgb background, QRgb block) {
    QImage image(40, 30, QImage::Format_RGB32);
    image.fill(background);
    for (int y = 5; y < 15; ++y) {
        for (int x = 10; x < 30; ++x) image.setPixel(x, y, block);
    }
    return image;
}

TEST(GifWriter, FramesComeBackExactlyWithTheirDelaysAndLoopForever) {
    // The third frame has a colour the first lacks, so it carries a table of its own.
    const std::vector<QImage> frames = {Frame(0xFFFFFF, 0x10A020), Frame(0x10A020, 0xFFFFFF),
                                        Frame(0x123456, 0xFEDCBA)};
    GifEncoder encoder;
    std::string error;
    for (size_t i = 0; i < frames.size(); ++i) {
        ASSERT_TRUE(encoder.addFrame(frames[i], i + 1 < frames.size() ? 250 : 1500, error))
            << error;
    }
    std::string bytes;
    ASSERT_TRUE(encoder.finish(bytes, error)) << error;
    const testing::ReadBackGif gif = testing::ReadGif(bytes);
    ASSERT_TRUE(gif.ok);
    EXPECT_TRUE(gif.loopsForever);
    EXPECT_EQ(gif.delaysCs, (std::vector<int>{25, 25, 150}));
    ASSERT_EQ(gif.frames.size(), frames.size());
    for (size_t i = 0; i < frames.size(); ++i) EXPECT_EQ(gif.frames[i], frames[i]) << i;
}

TEST(GifWriter, RefusesWhatAGifCannotHoldExactly) {
    QImage many(300, 1, QImage::Format_RGB32);
    for (int x = 0; x < 300; ++x) many.setPixel(x, 0, qRgb(x % 256, x / 256, 0));
    const struct {
        const char* name;
        QImage second;
    } rows[] = {{"more than 256 colours", many},
                {"another size", QImage(41, 30, QImage::Format_RGB32)}};
    for (const auto& row : rows) {
        GifEncoder encoder;
        std::string error, bytes;
        ASSERT_TRUE(encoder.addFrame(Frame(0xFFFFFF, 0), 100, error));
        EXPECT_FALSE(encoder.addFrame(row.second, 100, error)) << row.name;
        EXPECT_FALSE(error.empty()) << row.name;
        EXPECT_FALSE(encoder.finish(bytes, error)) << row.name;
    }
}

TEST(GifWriter, AFailedWriteLeavesTheOldFile) {
    testing::TempDir dir;
    const std::string path = dir.file("loop.gif");
    testing::WriteWholeFile(path, "old");
    GifEncoder empty;
    std::string error;
    EXPECT_FALSE(WriteGifFile(empty, path, error));
    EXPECT_EQ(testing::ReadWholeFile(path), "old");
    GifEncoder one;
    ASSERT_TRUE(one.addFrame(Frame(0xFFFFFF, 0), 100, error));
    EXPECT_FALSE(WriteGifFile(one, dir.file("missing/loop.gif"), error));
    EXPECT_NE(error.find("missing"), std::string::npos) << error;
}

}  // namespace
}  // namespace kalvera
