#pragma once
// The program's icon: the four lanes under the dusk sky, chips falling towards the amber
// judgement line, one of them struck. Drawn at each size (not scaled from one picture), so
// the small icon keeps crisp lanes.
#include <cstdint>
#include <string>
#include <vector>

namespace tessaru::gen {

// Straight RGBA, size * size * 4 bytes; the corners outside the rounded tile are clear.
std::vector<uint8_t> DrawIcon(int size);

// The sizes installed into the hicolor theme, and the one the window shows.
inline constexpr int kIconSizes[] = {48, 128, 256};
inline constexpr int kWindowIconSize = 128;

// Writes "<size>x<size>/apps/<name>.png" under a hicolor folder for every size; false
// when a file cannot be written.
bool WriteIconTheme(const std::string& hicolorFolder, const std::string& name);
// Writes one PNG of the given size; false when it cannot.
bool WriteIconPng(const std::string& path, int size);

}  // namespace tessaru::gen
