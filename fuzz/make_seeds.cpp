// Writes one well-formed file per content reader, the starting corpus of the fuzzers.
#include <cstdio>
#include <string>

#include "content/bga_file.h"
#include "content/dance_file.h"
#include "content/part_file.h"
#include "content/song_file.h"
#include "core/file_access.h"
#include "content/testing/song_bundle.h"
#include "graphics/tests/bmp_writer.h"
#include "sound/wave_file.h"

namespace {

bool Write(const std::string& path, const std::vector<uint8_t>& bytes) {
  return tessaru::WriteWholeFileAtomic(
      path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: fuzz_make_seeds FOLDER\n");
    return 2;
  }
  const std::string folder = argv[1];
  using namespace tessaru;

  SongRecord song;
  std::vector<PartRecord> parts;
  InitSongRecord(song, parts);
  song.Title = "種";
  song.TempoCount = 2;
  song.TempoTicks = {0, 3840};
  song.TempoBpms = {128.0, 140.5};
  song.PartCount = 2;
  song.PartFiles = {"a.z4p", "b.z4p"};

  PartRecord part;
  InitPartRecord(part, 1, 2);
  part.SoundCount = 2;
  part.SoundFiles = {"kick.wav", "snare.wav"};
  part.SoundPan = {0, 500};
  part.SoundVolume = {0, -300};
  part.StepWords[0] = 1;
  part.ChipSounds[0] = 0;
  part.StepWords[4] = 2;
  part.ChipSounds[16] = 1;

  DanceRecord dance;
  dance.PictureCount = 2;
  dance.Pictures = {"a.bmp", "b.bmp"};
  dance.PatternCount = 2;
  dance.PatternLengths = {2, 0};
  dance.PatternFirst = {0, 2};
  dance.Frames = {DanceFrame{100, 0, 1, 2, 3, 4, 5, 6}, DanceFrame{150, 1, 1, 2, 3, 4, 5, 6}};

  BgaRecord bga;
  bga.PictureCount = 1;
  bga.Pictures = {"back.bmp", ""};
  bga.ObjCount = 1;
  bga.Objs = {BgaObj{"sky", 0, 0, 0, 320, 240, 1}, BgaObj{}};
  bga.AObjCount = 1;
  bga.AObjs = {BgaAObj{"star", 3, {2, 50, 300, 10, 11, 0, 0, 0, 0, 0}}, BgaAObj{}};
  bga.ProgCount = 1;
  bga.Progs = {BgaProg{"bird", 500, 1, 2, 3, {0, 10, 20, 30, 40, 1000, 2000, 16, 0, 9}}, BgaProg{}};

  // A song folder: the song, "extreme.zxt" with one extension part, and its three parts.
  SongRecord bundled = song;
  bundled.Bars = 2;
  const std::vector<uint8_t> bundle = fuzzing::BundleBytes(
      {PackText(EncodeSongFile(bundled, SongFileVersion::Current)),
       PackText({std::string("x.z4p"), std::string("a.z4p"), int16_t{1}, int16_t{0}}), EncodePartFile(part),
       EncodePartFile(part), EncodePartFile(part)});

  // Pictures of every stored depth: palettes (one RLE-packed), 16 bits with masks, 24 bits.
  using gfxtest::BmpLayout;
  const auto pattern = [](int x, int y) { return static_cast<uint32_t>((x * 7 + y * 3) & 0xFF); };
  const std::vector<uint32_t> palette16 = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF, 0x808080,
                                           0x123456, 0x654321, 0xABCDEF, 0xFEDCBA, 0x111111, 0x222222,
                                           0x333333, 0x444444, 0x555555, 0x666666};
  BmpLayout four{5, 3, 4, 0, 40, palette16, {}, 0};
  BmpLayout rle{4, 2, 8, 1, 40, palette16, {}, 0};
  BmpLayout masked{3, -2, 16, 3, 40, {}, {0xF800, 0x07E0, 0x001F}, 0};
  const std::vector<uint8_t> rleRows = {2, 1, 0, 2, 3, 4, 5, 6, 0, 0, 4, 7, 0, 1};

  const std::vector<int16_t> stereo = {0, 100, -200, 32767, -32768, 5, 7, -7};
  // The INI target reads a section, a key and a value (each ended by a backslash and one
  // more byte) before the text itself.
  const std::string ini = "VERSION\\;VER\\;1001\\;; records\r\n[VERSION]\r\nVER=1000\r\n[songs\\a\\a.zxs]\r\nHPR1=3\r\n"
                          "HPs1=\"12\"\r\n\r\n[USER]\rMAXFPS = 60\rDATAPATH=D:\\songs\n";

  const bool ok = Write(folder + "/song.zxs", PackText(EncodeSongFile(song, SongFileVersion::Current))) &&
                  Write(folder + "/songfolder.bin", bundle) &&
                  Write(folder + "/pal4.bmp", gfxtest::MakeBmp(four, gfxtest::EncodeRows(5, 3, 4, false, pattern))) &&
                  Write(folder + "/rle8.bmp", gfxtest::MakeBmp(rle, rleRows)) &&
                  Write(folder + "/mask16.bmp", gfxtest::MakeBmp(masked, gfxtest::EncodeRows(3, 2, 16, true, pattern))) &&
                  Write(folder + "/rgb24.bmp", gfxtest::MakeBmp24(4, 3, [](int x, int y) { return static_cast<uint32_t>(x * 0x102030 + y * 0x30201); })) &&
                  Write(folder + "/stereo16.wav", BuildWave(stereo, 2, 22050, 16)) &&
                  Write(folder + "/mono8.wav", BuildWave(stereo, 1, 11025, 8)) &&
                  Write(folder + "/records.ini", std::vector<uint8_t>(ini.begin(), ini.end())) &&
                  Write(folder + "/song1.zxs", PackText(EncodeSongFile(song, SongFileVersion::First))) &&
                  Write(folder + "/part.zxp", EncodePartFile(part)) &&
                  Write(folder + "/dance.zxd", PackText(EncodeDanceFile(dance))) &&
                  Write(folder + "/bga.zxb", PackText(EncodeBgaFile(bga)));
  if (!ok) std::fprintf(stderr, "cannot write seeds into %s\n", folder.c_str());
  return ok ? 0 : 1;
}
