#pragma once
// The search for MP3 background tracks that still need a WAVE twin, and the "|"-joined
// list the conversion run consumes.
#include <functional>
#include <string>
#include <vector>

namespace tessaru {

// Told the folder being searched before its files are looked at, so a dialog can show it;
// returning false stops the search (the player ended the program).
using ScanProgress = std::function<bool(const std::string& folder)>;

// Adds to `found` (as folder + "/" + name) every file of `folder` whose name ends in
// ".mp3" in any letter case and that has no WAVE twin at least as new, then searches each
// subfolder, depth first. A twin has the same name before its extension (letter case
// kept) and the extension "wav" in any case; it counts when it was modified in the same
// minute as the MP3 or later. Names are taken in byte order, files before subfolders.
// A folder reached a second time through a link is not searched again.
void ScanForMp3(const std::string& folder, std::vector<std::string>& found,
                const ScanProgress& progress = {});

// Joins the paths with "|", no separator after the last.
std::string JoinPathList(const std::vector<std::string>& paths);

// Cuts the text before the first "|" off `list` (with the "|") and returns it; without a
// "|", returns the whole list and leaves it empty.
std::string GetSeg(std::string& list);

}  // namespace tessaru
