// Shared by the platform file services only.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace zarvo {

// Writes bytes to the file tmp and flushes it to the disk (not only to the system's cache), so
// the rename that follows never puts an empty or partial file in place after a power cut;
// removes it again on any failure.
bool WriteTemporary(const std::string& tmp, std::string_view bytes);

// Hands what the system holds of the open file to the disk (fsync, FlushFileBuffers).
bool SyncToDisk(std::FILE* f);

}  // namespace zarvo
