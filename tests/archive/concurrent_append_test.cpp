// The archiver appends to the day's index while the viewer reads it. These
// tests run a writer thread against the reads and check that a reader only
// ever sees whole records that were really written.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <random>
#include <thread>

#include "archive/day_archive.h"
#include "archive/index_bytes.h"
#include "support/temp_dir.h"

namespace kalvera {
namespace {

using testing::IndexRecordBytes;

constexpr int kRecords = 3000;
constexpr int kLayersPerTerm = 5;
constexpr int kLayerCodes[kLayersPerTerm] = {0, 1, 2, 21, 22};

int HourOf(int record) {
    return record / kLayersPerTerm / 60;
}
int MinuteOf(int record) {
    return record / kLayersPerTerm % 60;
}
int LayerOf(int record) {
    return kLayerCodes[record % kLayersPerTerm];
}
int32_t OffsetOf(int record) {
    return record * 1000 + 7;
}
std::string TermOf(int record) {
    return TermTextOf(HourOf(record), MinuteOf(record));
}

bool WriteAll(int fd, const char* bytes, size_t size) {
    while (size > 0) {
        const ssize_t written = ::write(fd, bytes, size);
        if (written <= 0) return false;
        bytes += written;
        size -= static_cast<size_t>(written);
    }
    return true;
}

// Appends the records one by one; every seventh goes in two pieces with a
// pause between, as a writer that is interrupted mid-record would leave it.
// `started` counts the records whose bytes may already be in the file, `complete`
// those whose bytes are all there: a reader's view lies between the two.
void Archiver(const std::string& path, std::atomic<int>& started, std::atomic<int>& complete,
              std::atomic<bool>& failed) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND);
    if (fd < 0) {
        failed = true;
        started = kRecords;
        complete = kRecords;
        return;
    }
    for (int i = 0; i < kRecords; ++i) {
        started = i + 1;
        const std::string bytes = IndexRecordBytes(HourOf(i), MinuteOf(i), LayerOf(i), OffsetOf(i));
        bool ok = true;
        if (i % 7 == 0) {
            const size_t split = 1 + static_cast<size_t>(i % 15);
            ok = WriteAll(fd, bytes.data(), split);
            std::this_thread::sleep_for(std::chrono::microseconds(300));
            ok = ok && WriteAll(fd, bytes.data() + split, bytes.size() - split);
        } else {
            ok = WriteAll(fd, bytes.data(), bytes.size());
        }
        if (!ok) failed = true;
        complete = i + 1;
    }
    ::close(fd);
}

int TermsFor(int records) {
    return (records + kLayersPerTerm - 1) / kLayersPerTerm;
}

TEST(ConcurrentAppend, ReadersSeeOnlyWholeWrittenRecords) {
    testing::TempDir dir;
    const std::string path = dir.write("MSK/100102.ind", "");
    std::atomic<int> started{0};
    std::atomic<int> complete{0};
    std::atomic<bool> writeFailed{false};
    // Joined however the test ends, so a failed assertion reports instead of aborting.
    std::jthread writer(Archiver, path, std::ref(started), std::ref(complete),
                        std::ref(writeFailed));

    std::mt19937 random(12345);
    int rounds = 0;
    for (bool writerDone = false; !writerDone || rounds < 50; ++rounds) {
        writerDone = complete.load() == kRecords;
        const int before = complete.load();

        std::vector<std::string> terms;
        const int termCount = LoadTermList(path, terms);
        int after = started.load();
        ASSERT_GE(termCount, TermsFor(before)) << "round " << rounds;
        ASSERT_LE(termCount, TermsFor(after)) << "a term of a record not yet complete";

        // A record complete before the lookup is always found, with its own offset.
        if (before > 0) {
            const int known = static_cast<int>(random() % static_cast<unsigned>(before));
            ASSERT_EQ(FindMessageOffset(path, TermOf(known), LayerOf(known)), OffsetOf(known));
        }
        // The record being written is found only once it is whole.
        if (before < kRecords) {
            const int32_t offset = FindMessageOffset(path, TermOf(before), LayerOf(before));
            after = started.load();
            if (offset != -1) {
                ASSERT_EQ(offset, OffsetOf(before));
                ASSERT_GT(after, before);
            }
        }
        // The layers of the newest term grow in code order, never past the writer.
        const int newest = before > 0 ? before - 1 : 0;
        std::vector<int> layers;
        const int highest = LoadLayerList(path, TermOf(newest), layers);
        after = started.load();
        ASSERT_NE(highest, -1);
        const int termStart = newest / kLayersPerTerm * kLayersPerTerm;
        const int seen = static_cast<int>(layers.size());
        if (before > 0) {
            ASSERT_GE(seen, newest - termStart + 1);
        }
        ASSERT_LE(seen, std::min(after - termStart, kLayersPerTerm));
        for (int k = 0; k < seen; ++k) ASSERT_EQ(layers[k], kLayerCodes[k]);
        if (seen > 0) {
            ASSERT_EQ(highest, layers.back());
        }
    }
    writer.join();
    ASSERT_FALSE(writeFailed.load());
    EXPECT_GT(rounds, 50);

    std::vector<std::string> terms;
    EXPECT_EQ(LoadTermList(path, terms), TermsFor(kRecords));
    EXPECT_EQ(FindMessageOffset(path, TermOf(kRecords - 1), LayerOf(kRecords - 1)),
              OffsetOf(kRecords - 1));
}

}  // namespace
}  // namespace kalvera
