#pragma once
// The one place where the game's logical paths ("\"-separated, as content and lists name
// files) meet the Linux file system. Data folders are often authored on Windows, so a
// component whose letter case differs is still found: exact match first, then a
// case-insensitive match per component (ties broken by the byte-wise smallest name).
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tessaru {

// The file-system path for a logical path. When nothing matches, the separators are
// still converted, so the result names where the file would be created.
std::string ResolvePath(std::string_view logicalPath);
// True when the file can be opened for reading.
bool FileExists(std::string_view logicalPath);
// True when the path names a folder.
bool FolderExists(std::string_view logicalPath);
// The whole file, or nothing when it cannot be read. Reads at most maxBytes (a guard
// against special files and absurd sizes).
std::optional<std::vector<uint8_t>> ReadWholeFile(std::string_view logicalPath,
                                                  uint64_t maxBytes = 1ull << 31);
// Replaces the file's content atomically: a temporary file beside it, then a rename, so a
// crash or a full disk never leaves a truncated file.
bool WriteWholeFileAtomic(std::string_view logicalPath, std::string_view bytes);
// Deletes a file, ignoring every error.
void DeleteFileQuiet(std::string_view logicalPath);
// The folder that holds the running executable (the default program folder).
std::string ExecutableFolder();

}  // namespace tessaru
