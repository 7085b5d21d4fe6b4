#pragma once
// Path helpers over the game's logical paths: "\"-separated (as content and lists write
// them) or "/"-separated (as Linux hands them to us); both separators are honoured.
#include <string>
#include <string_view>

namespace tessaru {

// The path without its last component (everything up to and including the last separator dropped).
std::string FolderOf(std::string_view path);
// The characters after the last separator; the whole string when there is none.
std::string FileNameOf(std::string_view path);
// Everything up to (not including) the last "."; the whole string when there is no dot.
std::string StripExtension(std::string_view path);
// The characters after the last "." (no dot); empty when there is none.
std::string ExtensionOf(std::string_view path);
// Replaces the extension: StripExtension(path) + newExtension (newExtension includes its dot).
std::string ReplaceExtension(std::string_view path, std::string_view newExtension);
// Joins a folder and a relative logical path with exactly one "\" between them.
std::string JoinLogical(std::string_view folder, std::string_view relative);

// A path folded for comparison: "\" as "/", repeated separators as one, ASCII lower case.
std::string PathForComparison(std::string_view path);
// The order a Windows folder listing gives (names compared without regard to case, ties
// byte-wise), since Linux listings come in no useful order.
bool ListingOrder(const std::string& a, const std::string& b);

}  // namespace tessaru
