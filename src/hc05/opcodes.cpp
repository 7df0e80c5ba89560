#include "hc05/opcodes.h"

#include <algorithm>
#include <vector>

namespace zarvek::hc05 {

namespace {

constexpr size_t M(TMode m) { return static_cast<size_t>(m); }

// The read-modify-write family: rows 3 (direct), 4 (A), 5 (X), 6 (offset,X), 7 (,X).
struct TRmw {
  std::string_view name;
  uint8_t column;
  uint8_t cycles[5];  // direct, A, X, offset,X, ,X
};
constexpr TRmw kRmw[] = {
    {"NEG", 0x0, {5, 3, 3, 6, 5}}, {"COM", 0x3, {5, 3, 3, 6, 5}}, {"LSR", 0x4, {5, 3, 3, 5, 5}},
    {"ROR", 0x6, {5, 3, 3, 6, 5}}, {"ASR", 0x7, {5, 3, 3, 5, 5}}, {"LSL", 0x8, {5, 3, 3, 5, 5}},
    {"ROL", 0x9, {5, 3, 3, 6, 5}}, {"DEC", 0xA, {5, 3, 3, 5, 5}}, {"INC", 0xC, {5, 3, 3, 5, 5}},
    {"TST", 0xD, {4, 3, 3, 5, 4}}, {"CLR", 0xF, {5, 3, 3, 5, 5}},
};

// The register/memory family: rows A (immediate) to F (,X).
struct TRegMem {
  std::string_view name;
  uint8_t column;
  uint8_t cycles[6];  // immediate, direct, extended, offset16,X, offset8,X, ,X; 0: no such form
};
constexpr uint8_t kLoad[6] = {2, 3, 4, 5, 4, 3};
constexpr uint8_t kStore[6] = {0, 4, 5, 6, 5, 4};
constexpr uint8_t kJump[6] = {0, 2, 3, 4, 3, 2};
constexpr uint8_t kCall[6] = {0, 5, 6, 7, 6, 5};
struct TRegMemRow {
  std::string_view name;
  uint8_t column;
  const uint8_t* cycles;
};
constexpr TRegMemRow kRegMem[] = {
    {"SUB", 0x0, kLoad}, {"CMP", 0x1, kLoad},  {"SBC", 0x2, kLoad},  {"CPX", 0x3, kLoad},
    {"AND", 0x4, kLoad}, {"BIT", 0x5, kLoad},  {"LDA", 0x6, kLoad},  {"STA", 0x7, kStore},
    {"EOR", 0x8, kLoad}, {"ADC", 0x9, kLoad},  {"ORA", 0xA, kLoad},  {"ADD", 0xB, kLoad},
    {"JMP", 0xC, kJump}, {"JSR", 0xD, kCall},  {"LDX", 0xE, kLoad},  {"STX", 0xF, kStore},
};
constexpr TMode kRegMemModes[6] = {TMode::Immediate, TMode::Direct,   TMode::Extended,
                                   TMode::Indexed2,  TMode::Indexed1, TMode::Indexed};

constexpr std::string_view kBranches[16] = {"BRA", "BRN", "BHI", "BLS", "BHS", "BLO", "BNE", "BEQ",
                                            "BHCC", "BHCS", "BPL", "BMI", "BMC", "BMS", "BIL", "BIH"};

struct TControl {
  std::string_view name;
  uint8_t opcode;
  uint8_t cycles;
};
// STOP has no effect and takes no cycles in the emulated controller.
constexpr TControl kControl[] = {{"RTI", 0x80, 9},  {"RTS", 0x81, 6},  {"SWI", 0x83, 10}, {"STOP", 0x8E, 0},
                                 {"WAIT", 0x8F, 2}, {"TAX", 0x97, 2},  {"CLC", 0x98, 2},  {"SEC", 0x99, 2},
                                 {"CLI", 0x9A, 2},  {"SEI", 0x9B, 2},  {"RSP", 0x9C, 2},  {"NOP", 0x9D, 2},
                                 {"TXA", 0x9F, 2},  {"MUL", 0x42, 11}};

// Names the disassembler prints for the inherent A and X forms of the RMW family.
constexpr std::string_view kRmwA[11] = {"NEGA", "COMA", "LSRA", "RORA", "ASRA", "LSLA",
                                        "ROLA", "DECA", "INCA", "TSTA", "CLRA"};
constexpr std::string_view kRmwX[11] = {"NEGX", "COMX", "LSRX", "RORX", "ASRX", "LSLX",
                                        "ROLX", "DECX", "INCX", "TSTX", "CLRX"};

struct TTables {
  std::array<TOpcode, 256> opcodes{};
  std::vector<TMnemonic> mnemonics;
};

TMnemonic Empty(std::string_view name) {
  TMnemonic m{name, {}};
  m.opcodes.fill(-1);
  return m;
}

void Set(TTables& t, uint8_t op, std::string_view name, TMode mode, uint8_t cycles, int8_t bit = -1) {
  t.opcodes[op] = TOpcode{name, mode, static_cast<uint8_t>(ModeLength(mode)), cycles, bit};
}

TTables Build() {
  TTables t;
  static constexpr std::string_view kBitNames[4] = {"BRSET", "BRCLR", "BSET", "BCLR"};
  for (int n = 0; n < 8; ++n) {
    Set(t, static_cast<uint8_t>(2 * n), kBitNames[0], TMode::BitTestBranch, 5, static_cast<int8_t>(n));
    Set(t, static_cast<uint8_t>(2 * n + 1), kBitNames[1], TMode::BitTestBranch, 5, static_cast<int8_t>(n));
    Set(t, static_cast<uint8_t>(0x10 + 2 * n), kBitNames[2], TMode::BitSetClear, 5, static_cast<int8_t>(n));
    Set(t, static_cast<uint8_t>(0x11 + 2 * n), kBitNames[3], TMode::BitSetClear, 5, static_cast<int8_t>(n));
  }
  for (int k = 0; k < 4; ++k) {
    TMnemonic m = Empty(kBitNames[k]);
    m.opcodes[M(k < 2 ? TMode::BitTestBranch : TMode::BitSetClear)] = static_cast<int16_t>(k < 2 ? k : 0x10 + k - 2);
    t.mnemonics.push_back(m);
  }
  for (int k = 0; k < 16; ++k) {
    Set(t, static_cast<uint8_t>(0x20 + k), kBranches[k], TMode::Relative, 3);
    TMnemonic m = Empty(kBranches[k]);
    m.opcodes[M(TMode::Relative)] = static_cast<int16_t>(0x20 + k);
    t.mnemonics.push_back(m);
  }
  for (auto [alias, op] : {std::pair<std::string_view, int>{"BCC", 0x24}, {"BCS", 0x25}}) {
    TMnemonic m = Empty(alias);
    m.opcodes[M(TMode::Relative)] = static_cast<int16_t>(op);
    t.mnemonics.push_back(m);
  }
  Set(t, 0xAD, "BSR", TMode::Relative, 5);
  TMnemonic bsr = Empty("BSR");
  bsr.opcodes[M(TMode::Relative)] = 0xAD;
  t.mnemonics.push_back(bsr);

  for (size_t k = 0; k < std::size(kRmw); ++k) {
    const TRmw& r = kRmw[k];
    const uint8_t c = r.column;
    Set(t, 0x30 | c, r.name, TMode::Direct, r.cycles[0]);
    Set(t, 0x40 | c, kRmwA[k], TMode::Inherent, r.cycles[1]);
    Set(t, 0x50 | c, kRmwX[k], TMode::Inherent, r.cycles[2]);
    Set(t, 0x60 | c, r.name, TMode::Indexed1, r.cycles[3]);
    Set(t, 0x70 | c, r.name, TMode::Indexed, r.cycles[4]);
    TMnemonic mem = Empty(r.name), a = Empty(kRmwA[k]), x = Empty(kRmwX[k]);
    mem.opcodes[M(TMode::Direct)] = 0x30 | c;
    mem.opcodes[M(TMode::Indexed1)] = 0x60 | c;
    mem.opcodes[M(TMode::Indexed)] = 0x70 | c;
    a.opcodes[M(TMode::Inherent)] = 0x40 | c;
    x.opcodes[M(TMode::Inherent)] = 0x50 | c;
    t.mnemonics.insert(t.mnemonics.end(), {mem, a, x});
    if (r.name == "LSL") {  // ASL is the same instruction
      for (TMnemonic alias : {mem, a, x}) {
        alias.name = alias.name == "LSL" ? "ASL" : alias.name == "LSLA" ? "ASLA" : "ASLX";
        t.mnemonics.push_back(alias);
      }
    }
  }
  for (const TRegMemRow& r : kRegMem) {
    TMnemonic m = Empty(r.name);
    for (int row = 0; row < 6; ++row) {
      if (r.cycles[row] == 0) continue;
      const uint8_t op = static_cast<uint8_t>((0xA + row) << 4 | r.column);
      Set(t, op, r.name, kRegMemModes[row], r.cycles[row]);
      m.opcodes[M(kRegMemModes[row])] = op;
    }
    t.mnemonics.push_back(m);
  }
  for (const TControl& k : kControl) {
    Set(t, k.opcode, k.name, TMode::Inherent, k.cycles);
    TMnemonic m = Empty(k.name);
    m.opcodes[M(TMode::Inherent)] = k.opcode;
    t.mnemonics.push_back(m);
  }
  std::sort(t.mnemonics.begin(), t.mnemonics.end(), [](const auto& a, const auto& b) { return a.name < b.name; });
  return t;
}

const TTables& Tables() {
  static const TTables tables = Build();
  return tables;
}

}  // namespace

int ModeLength(TMode mode) {
  switch (mode) {
    case TMode::Inherent:
    case TMode::Indexed: return 1;
    case TMode::Extended:
    case TMode::Indexed2:
    case TMode::BitTestBranch: return 3;
    default: return 2;
  }
}

const TOpcode& Opcode(uint8_t byte) { return Tables().opcodes[byte]; }

const TMnemonic* FindMnemonic(std::string_view upperName) {
  const auto& list = Tables().mnemonics;
  const auto it = std::lower_bound(list.begin(), list.end(), upperName,
                                   [](const TMnemonic& m, std::string_view n) { return m.name < n; });
  return it != list.end() && it->name == upperName ? &*it : nullptr;
}

std::span<const TMnemonic> AllMnemonics() {
  const auto& list = Tables().mnemonics;
  return {list.data(), list.size()};
}

}  // namespace zarvek::hc05
