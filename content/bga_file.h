#pragma once
// Background animations (".zxb", named ".z4b" elsewhere): pictures, static objects,
// animated objects and a program of moving sprites.
#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "content/packed.h"

namespace tessaru {

struct BgaObj {
  std::string Name;
  int16_t Picture = 0;
  int32_t O1 = 0;
  int32_t O2 = 0;
  int32_t O3 = 0;
  int32_t O4 = 0;
  int16_t O5 = 0;
  bool operator==(const BgaObj&) const = default;
};

// A holds A0..A9: A0 the frame count (type 0: the value shown), A1 the frame period,
// then the frame values (type 3: A2 the cycle length, frames from A3).
struct BgaAObj {
  std::string Name;
  int16_t AnimType = 0;
  std::array<int32_t, 10> A{};
  bool operator==(const BgaAObj&) const = default;
};

// Q holds Q0..Q9; the named accessors give the ones the motion uses.
struct BgaProg {
  std::string Name;
  int32_t StartTime = 0;
  int32_t ProgA = 0;
  int16_t ProgB = 0;
  int16_t ProgC = 0;
  std::array<int32_t, 10> Q{};
  int32_t X1() const { return Q[1]; }
  int32_t Y1() const { return Q[2]; }
  int32_t X2() const { return Q[3]; }
  int32_t Y2() const { return Q[4]; }
  int32_t LinePeriod() const { return Q[5]; }
  int32_t SwingPeriod() const { return Q[6]; }
  int32_t Radius() const { return Q[7]; }
  bool operator==(const BgaProg&) const = default;
};

// Every table holds its entries at 0..count-1 plus one spare empty entry after them.
struct BgaRecord {
  int16_t PictureCount = 0;
  int16_t ObjCount = 0;
  int16_t AObjCount = 0;
  int16_t ProgCount = 0;
  std::vector<std::string> Pictures{""};
  std::vector<BgaObj> Objs{BgaObj{}};
  std::vector<BgaAObj> AObjs{BgaAObj{}};
  std::vector<BgaProg> Progs{BgaProg{}};
  bool operator==(const BgaRecord&) const = default;
};

void InitBga(BgaRecord& bga);

// Reads StripExtension(path) + ".zxb". On any failure the record is left empty.
bool LoadBga(BgaRecord& bga, std::string_view path);
bool LoadBgaBytes(BgaRecord& bga, std::span<const uint8_t> packedBytes);

// The frame value an animated object shows at animation time t.
int32_t AnimFrame(double t, const BgaAObj& aobj);
// Where a program entry's sprite is at animation time t.
void ProgPosition(double t, const BgaProg& prog, int32_t& x, int32_t& y);

// The values of a BGA file for this record (entries 0..count-1 of each table). Picture
// labels are the pictures' positions.
std::vector<TextValue> EncodeBgaFile(const BgaRecord& bga);

}  // namespace tessaru
