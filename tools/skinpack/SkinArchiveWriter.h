#pragma once
// Builds the plain skin archive (format 20000) from named entries, and
// reads one back for listing and extraction.

#include <cstdint>
#include <string>
#include <string_view>
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

// Why name cannot stand for a file inside a folder, or empty when it can: a
// line break or other control byte, a directory part ("/" or "\\"), a drive
// (":"), or the name "." or ".." would read or write somewhere else.
std::string EntryNameFault(std::string_view name);

// Raises Exception for entries the reader would not take as a skin: more
// than 1001 of them, an empty or faulty name (see EntryNameFault), and, when
// skin is set, no entry whose name holds ".ini" (the description).
void CheckSkinEntries(const std::vector<TSkinArchiveEntry>& entries, bool skin);

// Entries listed in a LIST file: one file name per line, relative to the
// LIST file's folder, in archive order; blank lines and lines starting with
// '#' are skipped. Raises on a missing file.
std::vector<TSkinArchiveEntry> ReadEntryList(const std::string& listFile);

} // namespace orbelin
