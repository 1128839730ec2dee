#pragma once
// The system's text for an errno value, for messages that name a file.

#include <string>

namespace kalvera {

std::string ErrorText(int error);

}  // namespace kalvera
