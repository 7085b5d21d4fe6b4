#pragma once
// Sample-rate conversion, done once when a sound is loaded so that mixing is a plain
// multiply-add. A windowed-sinc (Kaiser) filter keeps the passband flat and pushes images
// and aliases below -80 dB, so a keysound recorded at 22050 Hz sounds the same at 44100.
#include <cstdint>
#include <span>
#include <vector>

namespace tessaru {

// Frames the conversion of `frames` source frames yields: ceil(frames * dstRate / srcRate),
// so no part of the tail is lost.
int64_t ResampledFrames(int64_t frames, int srcRate, int dstRate);

// Converts interleaved 16-bit audio of `channels` channels from srcRate to dstRate.
// Equal rates return a copy. Samples beyond either end are taken as silence.
std::vector<int16_t> Resample(std::span<const int16_t> interleaved, int channels, int srcRate,
                              int dstRate);

}  // namespace tessaru
