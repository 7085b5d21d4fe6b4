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
// Replaces the file's content atomically: a temporary file beside it (the name and
// kSaveTempSuffix), synced, renamed over the file, then the folder synced, so neither a
// crash, a full disk nor a power cut leaves a truncated file or brings an older one back.
// False when any step failed; the old file is then as it was (or, when only the last sync
// failed, already replaced but perhaps not yet on disk).
bool WriteWholeFileAtomic(std::string_view logicalPath, std::string_view bytes);
inline constexpr std::string_view kSaveTempSuffix = ".saving";
// Deletes the temporary files that saves interrupted by a crash or power cut left in a
// folder (names ending in kSaveTempSuffix). The real files beside them are whole: the
// rename never happened. Returns how many were removed.
int RemoveLeftoverSaves(std::string_view logicalFolder);
// Deletes a file, ignoring every error.
void DeleteFileQuiet(std::string_view logicalPath);
// The folder that holds the running executable (the default program folder).
std::string ExecutableFolder();

}  // namespace tessaru
