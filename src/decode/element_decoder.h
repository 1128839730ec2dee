#pragma once
// One element's value as a message stores it: the element table gives its
// width, reference and scale.

#include "decode/bit_cursor.h"
#include "decode/bufr_message.h"

namespace kalvera {

// Reads element 0 X Y at the cursor and returns its value. Numbers come back
// scaled, codes as they are; characters are stepped over and read as 0, and
// so is an element the tables do not know (it takes no bits).
float decodeElement(BitCursor& cursor, const DescriptorTriple& descriptor);

}  // namespace kalvera
