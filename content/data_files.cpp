#include "content/data_files.h"

namespace tessaru::data_files {

std::string TitleBack(int number) { return "\\image\\titback" + std::to_string(number) + ".bmp"; }
std::string Portrait(int part) { return "\\image\\vschar" + std::to_string(part) + ".bmp"; }
std::string Voice(int part, int number) {
  return "\\sound\\voice" + std::to_string(part) + "-" + std::to_string(number) + ".wav";
}
std::string EndingPicture(int number) { return "\\image\\ed" + std::to_string(number) + ".bmp"; }
std::string RankPicture(int rank) { return "\\image\\rank" + std::to_string(rank) + ".bmp"; }

std::vector<Entry> DataFileCatalogue() {
  std::vector<Entry> out;
  for (std::string_view path : kImages) out.push_back({Kind::Image, std::string(path)});
  for (std::string_view path : kSounds) out.push_back({Kind::Sound, std::string(path)});
  for (std::string_view path : kTables) out.push_back({Kind::Table, std::string(path)});
  for (int n = 0; n < kTitleBackCount; ++n) out.push_back({Kind::Image, TitleBack(n)});
  for (int part = 0; part < kCharacterCount; ++part) {
    out.push_back({Kind::Image, Portrait(part)});
    for (int n = 1; n <= kVoicesPerCharacter; ++n) out.push_back({Kind::Sound, Voice(part, n)});
  }
  for (int n = 0; n < kEndingPictureCount; ++n) out.push_back({Kind::Image, EndingPicture(n)});
  for (int n = 0; n < kRankPictureCount; ++n) out.push_back({Kind::Image, RankPicture(n)});
  return out;
}

}  // namespace tessaru::data_files
