#include "common/error_text.h"

#include <cstring>

namespace kalvera {

std::string ErrorText(int error) {
    if (error == 0) return "unknown error";
    char buffer[256];
    // The GNU variant may return a static text instead of filling the buffer.
    const char* text = strerror_r(error, buffer, sizeof buffer);
    return text != nullptr ? std::string(text) : std::string("error ") + std::to_string(error);
}

}  // namespace kalvera
