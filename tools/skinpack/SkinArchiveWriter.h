#pragma once
// Builds the plain skin archive (format 20000) from named entries, and
// reads one back for listing and extraction.

#include <cstdint>
#include <string>
#include <vector>

namespace orbelin {

struct TSkinArchiveEntry {
    std::string Name;  // bare file name
    std::string Bytes;
};

// Version, name text length, two zero words, the CR LF name text, the sizes
// and the entries' bytes back to back.
std::string BuildSkinArchive(const std::vector<TSkinArchiveEntry>& entries, int32_t version = 20000);

// Packed skin file bytes (plain size word + LZH stream) for the entries.
std::string PackSkin(const std::vector<TSkinArchiveEntry>& entries);

// Entries listed in a LIST file: one file name per line, relative to the
// LIST file's folder, in archive order; blank lines and lines starting with
// '#' are skipped. Raises on a missing file.
std::vector<TSkinArchiveEntry> ReadEntryList(const std::string& listFile);

} // namespace orbelin
