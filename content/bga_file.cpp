#include "content/bga_file.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "content/field_reader.h"
#include "core/file_access.h"
#include "core/numbers.h"
#include "core/paths.h"

namespace tessaru {
namespace {

constexpr double kPi = 3.141593;
// Frame values stored after the count and period (types 1, 2) or after the cycle (type 3).
constexpr int kFramesAfterPeriod = 8;
constexpr int kFramesAfterCycle = 7;

// Appends one entry, keeping the spare empty entry at the end of the table.
template <typename T>
bool Append(std::vector<T>& table, int16_t& count, T entry) {
  if (count == std::numeric_limits<int16_t>::max()) return false;
  table[static_cast<size_t>(count)] = std::move(entry);
  ++count;
  table.resize(static_cast<size_t>(count) + 1);
  return true;
}

bool ReadSections(FieldReader& in, BgaRecord& bga) {
  std::string field;
  // Pictures: label and file name, until the objects begin.
  while (true) {
    if (!in.Read(field)) return false;
    if (field == "<OBJ>") break;
    std::string picture;
    if (!in.Read(picture) || !Append(bga.Pictures, bga.PictureCount, std::move(picture))) return false;
  }
  while (true) {
    if (!in.Read(field)) return false;
    if (field == "<AOBJ>") break;
    BgaObj obj;
    obj.Name = field;
    if (!in.ReadInt16(obj.Picture) || !in.ReadInt32(obj.O1) || !in.ReadInt32(obj.O2) ||
        !in.ReadInt32(obj.O3) || !in.ReadInt32(obj.O4) || !in.ReadInt16(obj.O5) ||
        !Append(bga.Objs, bga.ObjCount, std::move(obj))) {
      return false;
    }
  }
  while (true) {
    if (!in.Read(field)) return false;
    if (field == "<PROG>") break;
    BgaAObj aobj;
    aobj.Name = field;
    if (!in.ReadInt16(aobj.AnimType)) return false;
    for (auto& value : aobj.A) {
      if (!in.ReadInt32(value)) return false;
    }
    if (!Append(bga.AObjs, bga.AObjCount, std::move(aobj))) return false;
  }
  while (true) {
    if (!in.Read(field)) return false;
    if (field == "<EOF>") break;
    BgaProg prog;
    prog.Name = field;
    if (!in.ReadInt32(prog.StartTime) || !in.ReadInt32(prog.ProgA) || !in.ReadInt16(prog.ProgB) ||
        !in.ReadInt16(prog.ProgC)) {
      return false;
    }
    for (auto& value : prog.Q) {
      if (!in.ReadInt32(value)) return false;
    }
    if (!Append(bga.Progs, bga.ProgCount, std::move(prog))) return false;
  }
  return true;
}

// The frame value at index i of the frames starting at A[first]; i is already clamped.
int32_t FrameAt(const BgaAObj& a, int first, int64_t i) {
  return a.A[static_cast<size_t>(first + i)];
}

// A period of zero would divide by zero; the animation then steps once per time unit.
double Period(int32_t value) { return value == 0 ? 1.0 : static_cast<double>(value); }

}  // namespace

void InitBga(BgaRecord& bga) { bga = BgaRecord{}; }

bool LoadBga(BgaRecord& bga, std::string_view path) {
  const auto bytes = ReadWholeFile(ReplaceExtension(path, ".zxb"));
  if (!bytes) {
    InitBga(bga);
    return false;
  }
  return LoadBgaBytes(bga, *bytes);
}

bool LoadBgaBytes(BgaRecord& bga, std::span<const uint8_t> packedBytes) {
  InitBga(bga);
  auto text = UnpackText(packedBytes);
  if (!text) return false;
  FieldReader in(std::move(*text));
  std::string header;
  std::string pictures;
  if (!in.Read(header) || header != "<Z4BGAFILE>" || !in.Read(pictures) ||
      pictures != "<PICTURE>" || !ReadSections(in, bga)) {
    InitBga(bga);
    return false;
  }
  return true;
}

int32_t AnimFrame(double t, const BgaAObj& a) {
  if (!std::isfinite(t)) t = 0;
  // The frame count is clamped to the frame values the entry can hold.
  switch (a.AnimType) {
    case 0:
      return a.A[0];
    case 1: {
      const int n = std::clamp(a.A[0], 1, kFramesAfterPeriod);
      const double p = std::max(1, a.A[1]);
      const auto i = static_cast<int64_t>(FloorMod(std::floor(t / p), static_cast<double>(n)));
      return FrameAt(a, 2, std::clamp<int64_t>(i, 0, n - 1));
    }
    case 2: {
      const int n = std::clamp(a.A[0], 1, kFramesAfterPeriod);
      const double p = a.A[1] > 0 ? a.A[1] : 1;
      const double step = std::floor(t / p);
      const int64_t i = step >= n - 1 ? n - 1 : static_cast<int64_t>(std::max(step, 0.0));
      return FrameAt(a, 2, i);
    }
    case 3: {
      const int n = std::clamp(a.A[0], 1, kFramesAfterCycle);
      const double p = a.A[1] > 0 ? a.A[1] : 1;
      const double c = std::max(1, a.A[2]);
      const double step = std::floor(FloorMod(t, c) / p);
      const int64_t i = step >= n - 1 ? n - 1 : static_cast<int64_t>(std::max(step, 0.0));
      return FrameAt(a, 3, i);
    }
    default:
      return 0;
  }
}

void ProgPosition(double t, const BgaProg& q, int32_t& x, int32_t& y) {
  if (!std::isfinite(t)) t = 0;
  const double e = t - q.StartTime;
  const double line = Period(q.LinePeriod());
  const double swing = Period(q.SwingPeriod());
  const double f = FloorMod(e, line) / line;
  const double x0 = std::floor((static_cast<double>(q.X2()) - q.X1()) * f) + q.X1();
  const double y0 = std::floor((static_cast<double>(q.Y2()) - q.Y1()) * f) + q.Y1();
  const double g = FloorMod(e, swing) / swing;
  const double degrees = std::sin(2 * kPi * g) * 60 + 90;
  const double r = degrees / 180 * kPi;
  x = static_cast<int32_t>(RoundHalfEven(q.Radius() * std::cos(r) + x0));
  y = static_cast<int32_t>(RoundHalfEven(q.Radius() * std::sin(r) + y0));
}

std::vector<TextValue> EncodeBgaFile(const BgaRecord& bga) {
  std::vector<TextValue> v{std::string("<Z4BGAFILE>"), std::string("<PICTURE>")};
  auto count = [](int16_t c, size_t size) { return std::min(static_cast<size_t>(std::max<int16_t>(c, 0)), size); };
  for (size_t i = 0; i < count(bga.PictureCount, bga.Pictures.size()); ++i) {
    v.emplace_back(static_cast<int16_t>(i));
    v.emplace_back(bga.Pictures[i]);
  }
  v.emplace_back(std::string("<OBJ>"));
  for (size_t i = 0; i < count(bga.ObjCount, bga.Objs.size()); ++i) {
    const BgaObj& o = bga.Objs[i];
    v.insert(v.end(), {o.Name, o.Picture, o.O1, o.O2, o.O3, o.O4, o.O5});
  }
  v.emplace_back(std::string("<AOBJ>"));
  for (size_t i = 0; i < count(bga.AObjCount, bga.AObjs.size()); ++i) {
    const BgaAObj& a = bga.AObjs[i];
    v.insert(v.end(), {a.Name, a.AnimType});
    v.insert(v.end(), a.A.begin(), a.A.end());
  }
  v.emplace_back(std::string("<PROG>"));
  for (size_t i = 0; i < count(bga.ProgCount, bga.Progs.size()); ++i) {
    const BgaProg& q = bga.Progs[i];
    v.insert(v.end(), {q.Name, q.StartTime, q.ProgA, q.ProgB, q.ProgC});
    v.insert(v.end(), q.Q.begin(), q.Q.end());
  }
  v.emplace_back(std::string("<EOF>"));
  return v;
}

}  // namespace tessaru
