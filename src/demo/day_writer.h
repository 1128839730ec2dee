#pragma once
// Appends terms to a site's day files the way the archiver does: the base
// bytes of a term first, then its index records, so that a reader never
// finds a complete record that points past the end of the base file.

#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "archive/day_archive.h"
#include "demo/term_products.h"

namespace kalvera::demo {

// Lets a live writer split an index record into two writes with a pause in
// between, as a busy archiver may. Called once per record; returning a
// split point of 0 writes the record whole.
struct RecordSplitter {
    std::function<int(int recordNumber)> splitAt;  // 1..15 bytes go first
    std::function<void()> pause;
};

// Terms (hour * 60 + minute) present in a day's index; empty when none.
std::set<int> TermsInIndex(const std::string& indexPath);

// Appends the messages of one term to the day's base file and their records
// to its index, creating the files when needed. False (with the reason) when
// a file cannot be written; the index is then left untouched.
bool AppendTerm(const DayArchive& day, int hour, int minute,
                const std::vector<TermMessage>& messages, const RecordSplitter* splitter,
                std::string& error);

}  // namespace kalvera::demo
