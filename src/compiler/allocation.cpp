// Variable memory: where a new variable goes. The Tessel boards have a few dozen bytes
// whose occupancy follows from the variables declared so far; the Pyxon boards keep one
// allocation map per memory (global, the two EEPROMs, each procedure's locals).
#include <algorithm>

#include "compiler/diagnostics.h"
#include "compiler/messages.h"
#include "compiler/symbol_table.h"
#include "compiler/variable_access.h"

namespace zarvek {

namespace {

constexpr uint8_t kFull = 0xFF;

bool PartlyUsed(uint8_t b) { return b != 0 && b != kFull; }

int LowestFreeBit(uint8_t b) {
  int bit = 0;
  while (bit < 8 && (b >> bit & 1) != 0) ++bit;
  return bit;
}

// --- Tessel ---

// Used bits of each byte, from every variable in memory (ports, AD and DA are elsewhere).
std::vector<uint8_t> TesselOccupancy(const TCompilerContext& c, int64_t bytes) {
  std::vector<uint8_t> used(static_cast<size_t>(bytes), 0);
  for (const Tlabel& s : c.symbols) {
    if (!IsVariableKind(s.kind) || (s.kind & Kinds(kind::Port, kind::AdInput, kind::DaOutput)) != 0) continue;
    const int64_t a = s.address;
    switch (UnitOf(s.kind)) {
      case TUnit::Bit:
        if (a >= 0 && a < bytes * 8) used[static_cast<size_t>(a / 8)] |= static_cast<uint8_t>(1 << (a % 8));
        break;
      case TUnit::Byte:
        if (a >= 0 && a < bytes) used[static_cast<size_t>(a)] = kFull;
        break;
      case TUnit::Word:
        if (a >= 0 && 2 * a + 1 < bytes) used[static_cast<size_t>(2 * a)] = used[static_cast<size_t>(2 * a + 1)] = kFull;
        break;
    }
  }
  return used;
}

// Tessel 1.1 fills bits from the bottom and starts new bit bytes at the top; the larger
// boards look for bits from the top and start new bit bytes at the bottom.
int64_t TesselBit(const std::vector<uint8_t>& used, bool fromTop) {
  const int64_t n = fromTop ? 31 : static_cast<int64_t>(used.size());
  int64_t fresh = -1;
  for (int64_t k = 0; k < n; ++k) {
    const int64_t b = fromTop ? n - 1 - k : k;
    if (PartlyUsed(used[b])) return b * 8 + LowestFreeBit(used[b]);
    if (used[b] == 0 && (fresh < 0 || (fromTop ? b < fresh : b > fresh))) fresh = b;
  }
  return fresh < 0 ? -1 : fresh * 8;
}

int64_t TesselByte(const std::vector<uint8_t>& used) {
  int64_t freeWord = -1;
  for (int64_t w = 0; 2 * w + 1 < static_cast<int64_t>(used.size()); ++w) {
    const bool high = used[2 * w] != 0, low = used[2 * w + 1] != 0;
    if (high != low) return high ? 2 * w + 1 : 2 * w;
    if (!high) freeWord = w;
  }
  return freeWord < 0 ? -1 : 2 * freeWord + 1;
}

int64_t TesselWord(const std::vector<uint8_t>& used) {
  for (int64_t w = static_cast<int64_t>(used.size()) / 2 - 1; w >= 0; --w)
    if (used[2 * w] == 0 && used[2 * w + 1] == 0) return w;
  return -1;
}

int64_t AllocateTessel(TCompilerContext& c, uint32_t kinds) {
  const bool small = c.profile == profile::Tessel11;
  const std::vector<uint8_t> used = TesselOccupancy(c, small ? 24 : 62);
  const TUnit unit = UnitOf(kinds);
  const int64_t address = unit == TUnit::Bit ? TesselBit(used, !small) : unit == TUnit::Byte ? TesselByte(used) : TesselWord(used);
  if (address < 0) CompileError(c, !small ? "" : unit == TUnit::Bit ? "Boolean" : unit == TUnit::Byte ? "Byte" : "Integer", msg::NoVariableMemory);
  return address;
}

// --- Pyxon ---

// How far the allocators may go in a map. A procedure's locals live in its own local
// frame of 32 bytes: the next call's frame begins right after it.
struct TLimits {
  int64_t bitBytes = 65536;
  int64_t bytes = 65536;
  int64_t words = 32768;
};
constexpr TLimits kLocalLimits{32, 32, 16};

// Every byte at or above a map's extent is free, so the scans below stop there: an
// allocation costs what the memory in use holds, not the whole address range.
void Mark(TMemoryMap& map, int64_t at, uint8_t value) {
  map.bytes[static_cast<size_t>(at)] = value;
  map.extent = std::max(map.extent, at + 1);
}

int64_t ScanEnd(const TMemoryMap& map, int64_t limit) { return std::min(limit, map.extent); }

// The highest partly used byte gives its lowest free bit; else bit 0 of the lowest free byte.
int64_t PyxonBit(TMemoryMap& map, int64_t bytes) {
  const int64_t end = ScanEnd(map, bytes);
  int64_t fresh = end < bytes ? end : -1;
  for (int64_t b = end - 1; b >= 0; --b) {
    const uint8_t used = map.bytes[static_cast<size_t>(b)];
    if (PartlyUsed(used)) {
      const int bit = LowestFreeBit(used);
      Mark(map, b, static_cast<uint8_t>(used | (1 << bit)));
      return b * 8 + bit;
    }
    if (used == 0) fresh = b;
  }
  if (fresh < 0) return -1;
  Mark(map, fresh, 1);
  return fresh * 8;
}

// The highest byte pair with one free byte gives it; else the even byte of the lowest free pair.
int64_t PyxonByte(TMemoryMap& map, int64_t bytes) {
  const int64_t end = std::min(bytes, map.extent + (map.extent & 1));
  int64_t freePair = end + 1 < bytes ? end : -1;
  for (int64_t p = end - 2; p >= 0; p -= 2) {
    const bool highFree = map.bytes[static_cast<size_t>(p)] == 0, lowFree = map.bytes[static_cast<size_t>(p) + 1] == 0;
    if (highFree != lowFree) {
      const int64_t b = highFree ? p : p + 1;
      Mark(map, b, kFull);
      return b;
    }
    if (highFree) freePair = p;
  }
  if (freePair < 0) return -1;
  Mark(map, freePair, kFull);
  return freePair;
}

int64_t PyxonWord(TMemoryMap& map, int64_t words) {
  for (int64_t w = 0; w < words; ++w)
    if (map.bytes[static_cast<size_t>(2 * w)] == 0 && map.bytes[static_cast<size_t>(2 * w) + 1] == 0) {
      Mark(map, 2 * w, kFull);
      Mark(map, 2 * w + 1, kFull);
      return w;
    }
  return -1;
}

// The lowest aligned run of `size` free bytes, marked used as a whole: a run belongs to
// one variable, so no later BOOLEAN may settle in its spare bits.
int64_t PyxonRun(TMemoryMap& map, int64_t size, int64_t alignment) {
  const int64_t n = static_cast<int64_t>(map.bytes.size());
  const int64_t end = std::min(n, map.extent);
  std::vector<int32_t> freeFrom(static_cast<size_t>(end) + 1, 0);
  freeFrom[static_cast<size_t>(end)] = static_cast<int32_t>(n - end);
  for (int64_t k = end - 1; k >= 0; --k)
    freeFrom[static_cast<size_t>(k)] = map.bytes[static_cast<size_t>(k)] == 0 ? freeFrom[static_cast<size_t>(k) + 1] + 1 : 0;
  for (int64_t start = 0; start + size <= n; start += alignment) {
    if (start < end && freeFrom[static_cast<size_t>(start)] < size) continue;
    std::fill(map.bytes.begin() + start, map.bytes.begin() + start + size, kFull);
    map.extent = std::max(map.extent, start + size);
    return start;
  }
  return -1;
}

bool PlacedAsRun(uint32_t kinds) { return (kinds & Kinds(kind::Array, kind::StructVar, kind::StringStar)) != 0; }

// Arrays, strings with a length and structures live in global memory even when declared
// in a procedure: the memory tokens that reach their elements cannot address a local frame.
TMemoryMap& MapFor(TCompilerContext& c, uint32_t kinds, bool& local) {
  if (c.memoryMaps.size() < 3) {
    c.memoryMaps.resize(3);
    c.memoryMaps[1].owner = 1;
    c.memoryMaps[2].owner = 2;
  }
  local = false;
  if (HasKind(kinds, kind::ExternalEeprom)) return c.memoryMaps[1];
  if (HasKind(kinds, kind::InternalEeprom)) return c.memoryMaps[2];
  if (c.currentProcedure < 0 || PlacedAsRun(kinds) || IsHandlerProcedure(c, c.currentProcedure)) return c.memoryMaps[0];
  local = true;
  for (size_t k = 3; k < c.memoryMaps.size(); ++k)
    if (c.memoryMaps[k].owner == c.currentProcedure) return c.memoryMaps[k];
  // A procedure's map is as large as its local frame: thousands of procedures must not
  // each cost a whole address space.
  c.memoryMaps.push_back(TMemoryMap{c.currentProcedure, std::vector<uint8_t>(kLocalLimits.bytes, 0)});
  return c.memoryMaps.back();
}

// Bytes an array or structure takes; more than a map holds reports 272.
int64_t RunSize(TCompilerContext& c, uint32_t kinds, const std::vector<TArrayBounds>& bounds, size_t patternLength) {
  constexpr int64_t kCap = int64_t{1} << 40;
  int64_t elements = 1;
  for (const TArrayBounds& b : bounds)
    elements = std::min(kCap, elements * std::max<int64_t>(0, int64_t{b.upper} - b.lower + 1));
  const int64_t size = HasKind(kinds, kind::Bit) ? elements / 8 + 1 : elements * static_cast<int64_t>(patternLength);
  if (size > 65535) {
    CompileError(c, std::to_string(size) + "byte ", msg::ArrayTooBig);
    return -1;
  }
  return size;
}

int64_t AllocatePyxon(TCompilerContext& c, uint32_t kinds, const std::vector<TArrayBounds>& bounds,
                      const std::vector<uint8_t>& pattern, int64_t alignment) {
  bool local = false;
  TMemoryMap& map = MapFor(c, kinds, local);
  const TLimits limits = local ? kLocalLimits : TLimits{};
  const TUnit unit = UnitOf(kinds);
  int64_t address = -1;
  if (PlacedAsRun(kinds)) {
    const int64_t size = RunSize(c, kinds, bounds, pattern.size());
    if (size < 0) return -1;
    address = PyxonRun(map, size, std::max<int64_t>(1, alignment));
    if (address >= 0) address = unit == TUnit::Bit ? address * 8 : unit == TUnit::Word ? address / 2 : address;
  } else if (unit == TUnit::Bit) {
    address = PyxonBit(map, limits.bitBytes);
  } else if (unit == TUnit::Byte) {
    address = PyxonByte(map, limits.bytes);
  } else {
    address = PyxonWord(map, limits.words);
  }
  if (address < 0) CompileError(c, "", msg::NoVariableMemory);
  return address;
}

}  // namespace

int64_t AllocateAligned(TCompilerContext& c, uint32_t kinds, const std::vector<TArrayBounds>& bounds,
                        const std::vector<uint8_t>& pattern, int64_t alignment) {
  return c.Pyxon() ? AllocatePyxon(c, kinds, bounds, pattern, alignment) : AllocateTessel(c, kinds);
}

int64_t AllocateVariable(TCompilerContext& c, uint32_t kinds, const std::vector<TArrayBounds>& bounds,
                         const std::vector<uint8_t>& pattern) {
  const bool words = HasKind(kinds, kind::Word) || HasKind(kinds, kind::String);
  return AllocateAligned(c, kinds, bounds, pattern, words ? 2 : 1);
}

}  // namespace zarvek
