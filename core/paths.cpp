#include "core/paths.h"

#include <cctype>

namespace tessaru {
namespace {

std::string_view::size_type LastSeparator(std::string_view path) {
  return path.find_last_of("\\/");
}

}  // namespace

std::string FolderOf(std::string_view path) {
  const auto sep = LastSeparator(path);
  if (sep == std::string_view::npos) return {};
  return std::string(path.substr(0, sep));
}

std::string FileNameOf(std::string_view path) {
  const auto sep = LastSeparator(path);
  if (sep == std::string_view::npos) return std::string(path);
  return std::string(path.substr(sep + 1));
}

std::string StripExtension(std::string_view path) {
  const auto dot = path.rfind('.');
  if (dot == std::string_view::npos) return std::string(path);
  return std::string(path.substr(0, dot));
}

std::string ExtensionOf(std::string_view path) {
  const auto dot = path.rfind('.');
  if (dot == std::string_view::npos) return {};
  return std::string(path.substr(dot + 1));
}

std::string ReplaceExtension(std::string_view path, std::string_view newExtension) {
  return StripExtension(path) + std::string(newExtension);
}

std::string JoinLogical(std::string_view folder, std::string_view relative) {
  while (!relative.empty() && (relative.front() == '\\' || relative.front() == '/')) {
    relative.remove_prefix(1);
  }
  std::string out(folder);
  if (out.empty()) return std::string(relative);
  if (out.back() != '\\' && out.back() != '/') out += '\\';
  out += relative;
  return out;
}

std::string PathForComparison(std::string_view path) {
  std::string out;
  out.reserve(path.size());
  for (char c : path) {
    if (c == '\\') c = '/';
    if (c == '/' && !out.empty() && out.back() == '/') continue;
    out += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  return out;
}

bool ListingOrder(const std::string& a, const std::string& b) {
  const std::string foldedA = PathForComparison(a);
  const std::string foldedB = PathForComparison(b);
  return foldedA != foldedB ? foldedA < foldedB : a < b;
}

}  // namespace tessaru
