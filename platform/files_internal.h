// Shared by the platform file services only.
#pragma once

#include <string>
#include <string_view>

namespace zarvo {

// Writes bytes to the file tmp and flushes it; removes it again on any failure.
bool WriteTemporary(const std::string& tmp, std::string_view bytes);

}  // namespace zarvo
