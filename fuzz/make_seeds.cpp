// Writes one well-formed file per content reader, the starting corpus of the fuzzers.
#include <cstdio>
#include <string>

#include "content/bga_file.h"
#include "content/dance_file.h"
#include "content/part_file.h"
#include "content/song_file.h"
#include "core/file_access.h"
#include "persist/replay_file.h"

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

  ReplayRecord replay;
  replay.SongPath = "songs\\seed\\seed.z4s";
  replay.Part = 1;
  replay.Append(120, 1, 0, 0);
  replay.Append(960, 2, 8, 1);
  replay.Append(1000, 4, 9, 5);
  std::string reason;
  const std::string replayText = EncodeReplay(replay, "", reason);
  const std::string oldReplay = "songs\\seed\\seed.z4s\r\n0\r\n2\r\n10,1\r\n20,3\r\n";

  const bool ok = WriteWholeFileAtomic(folder + "/replay2.zxr", replayText) &&
                  WriteWholeFileAtomic(folder + "/replay0.zxr", oldReplay) &&
                  Write(folder + "/song.zxs", PackText(EncodeSongFile(song, SongFileVersion::Current))) &&
                  Write(folder + "/song1.zxs", PackText(EncodeSongFile(song, SongFileVersion::First))) &&
                  Write(folder + "/part.zxp", EncodePartFile(part)) &&
                  Write(folder + "/dance.zxd", PackText(EncodeDanceFile(dance))) &&
                  Write(folder + "/bga.zxb", PackText(EncodeBgaFile(bga)));
  if (!ok) std::fprintf(stderr, "cannot write seeds into %s\n", folder.c_str());
  return ok ? 0 : 1;
}
