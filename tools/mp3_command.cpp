#include <CLI/CLI.hpp>

#include <chrono>
#include <iostream>
#include <memory>
#include <thread>

#include "core/file_access.h"
#include "launcher/mp3_decoder.h"
#include "launcher/mp3_scan.h"
#include "tools/command_support.h"

namespace tessaru {

void RegisterMp3Commands(CLI::App& app) {
  auto* scan = app.add_subcommand("mp3-scan", "List the MP3 files the launcher would convert, in its order");
  auto folder = std::make_shared<std::string>();
  scan->add_option("DIR", *folder, "data folder")->required();
  scan->callback([folder] {
    if (!FolderExists(*folder)) throw CommandFailure(*folder + ": not a folder");
    std::vector<std::string> found;
    ScanForMp3(ResolvePath(*folder), found);
    for (const std::string& path : found) std::cout << path << "\n";
  });

  auto* decode = app.add_subcommand("mp3-decode", "Decode one MP3 file to a WAVE file as the launcher does");
  auto in = std::make_shared<std::string>();
  auto out = std::make_shared<std::string>();
  decode->add_option("IN", *in, "MP3 file")->required();
  decode->add_option("OUT", *out, "WAVE file to write")->required();
  decode->callback([in, out] {
    const auto decoder = CreateMpg123Decoder();
    const auto fail = [&](const std::string& what) {
      throw CommandFailure(what + " (err " + std::to_string(decoder->GetLastErrorNo()) + ")");
    };
    if (!decoder->Init()) fail("the decoder cannot start");
    if (!decoder->Open(*in)) fail(*in + ": cannot be opened as MP3");
    if (!decoder->DecodeWave(*out)) fail(*out + ": decoding cannot start");
    while (decoder->GetState() != 0) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    if (decoder->GetLastErrorNo() != 0) fail(*in + ": decoding failed");
    decoder->Free();
  });
}

}  // namespace tessaru
