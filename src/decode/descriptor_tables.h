#pragma once
// The compiled-in subset of the BUFR tables: elements (0 X Y), code tables and
// sequences (3 X Y).

#include <cstddef>
#include <cstdint>

#include "decode/bufr_message.h"

namespace kalvera {

struct ElementEntry {
    char name[64] = {};
    char kind = 'X';  // N number, D degrees, m metres/unit, A characters, C code, X undefined
    int32_t scale = 0;
    int32_t reference = 0;
    int32_t width = 0;
};

constexpr size_t kTextSize = 255;

// Fills `entry` for element 0 X Y; an unknown descriptor gets "Undefined
// parameter", kind X, width 0.
void lookupElement(int32_t x, int32_t y, ElementEntry& entry);

// Writes the meaning of `value` in the code table of 0 X Y into `text` (255
// bytes); leaves `text` unchanged when there is none.
void lookupCodeMeaning(int32_t x, int32_t y, int32_t value, char* text);

// Writes the one-level expansion of 3 X Y into `list` (room for 50) and its
// length into `count`; an unknown sequence writes nothing.
void expandSequence(int32_t x, int32_t y, DescriptorList& list, int32_t& count);

// The table keys, for callers that walk the tables.
int32_t elementTableSize();
DescriptorTriple elementTableKey(int32_t index);  // 0 X Y, or 0 0 0 outside the table
int32_t sequenceTableSize();
DescriptorTriple sequenceTableKey(int32_t index);  // 3 X Y, or 0 0 0 outside the table

}  // namespace kalvera
