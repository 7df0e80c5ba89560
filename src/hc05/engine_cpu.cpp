// The 68HC05 core: one instruction per Step. Length, cycles, addressing mode and bit
// number come from the opcode table; the operation follows from the opcode map's rows
// (modes) and columns (operations).
#include <array>

#include "hc05/engine_registers.h"
#include "hc05/motorola_engine.h"
#include "hc05/opcodes.h"

namespace zarvek::hc05 {

using namespace reg;

namespace {

constexpr uint16_t kMask = kEngineAddressMask;
constexpr uint16_t kLowestPush = 12;  // a push below this is a stack overflow

inline void SetNz(TCpuRegisters& r, uint8_t value) {
  r.n = value >> 7;
  r.z = value == 0;
}

inline uint8_t Add(TCpuRegisters& r, uint8_t a, uint8_t m, uint8_t carryIn) {
  const auto result = static_cast<uint8_t>(a + m + carryIn);
  const auto carries = static_cast<uint8_t>((a & m) | (m & ~result) | (~result & a));
  r.c = carries >> 7;
  r.h = carries >> 3 & 1;
  SetNz(r, result);
  return result;
}

inline uint8_t Subtract(TCpuRegisters& r, uint8_t a, uint8_t m, uint8_t borrowIn) {
  const auto result = static_cast<uint8_t>(a - m - borrowIn);
  const auto borrows = static_cast<uint8_t>((~a & m) | (m & result) | (result & ~a));
  r.c = borrows >> 7;
  SetNz(r, result);
  return result;
}

inline bool BranchTaken(const TCpuRegisters& r, uint8_t condition, bool pin) {
  switch (condition) {
    case 0x0: return true;                 // BRA
    case 0x1: return false;                // BRN
    case 0x2: return !(r.c | r.z);         // BHI
    case 0x3: return r.c | r.z;            // BLS
    case 0x4: return !r.c;                 // BHS
    case 0x5: return r.c;                  // BLO
    case 0x6: return !r.z;                 // BNE
    case 0x7: return r.z;                  // BEQ
    case 0x8: return !r.h;                 // BHCC
    case 0x9: return r.h;                  // BHCS
    case 0xA: return !r.n;                 // BPL
    case 0xB: return r.n;                  // BMI
    case 0xC: return !r.i;                 // BMC
    case 0xD: return r.i;                  // BMS
    case 0xE: return !pin;                 // BIL
    default: return pin;                   // BIH
  }
}

}  // namespace

const TMotorolaEngine::TDecoded* TMotorolaEngine::DecodeTable() {
  static const std::array<TDecoded, 256> table = [] {
    std::array<TDecoded, 256> t{};
    for (int op = 0; op < 256; ++op) {
      const TOpcode& o = Opcode(static_cast<uint8_t>(op));
      t[static_cast<size_t>(op)] = {o.length, o.cycles, static_cast<uint8_t>(o.mode), o.bit, o.Defined()};
    }
    return t;
  }();
  return table.data();
}

void TMotorolaEngine::Push(uint8_t value) {
  if (m_cpu.sp < kLowestPush || m_cpu.sp > 0xFF) {
    m_error = kEngineStackOverflow;
    return;
  }
  m_memory[m_cpu.sp--] = value;
}

uint8_t TMotorolaEngine::Pull() { return m_memory[++m_cpu.sp & kMask]; }

void TMotorolaEngine::EnterInterrupt(uint16_t vector) {
  TCpuRegisters& r = m_cpu;
  Push(static_cast<uint8_t>(r.pc));
  Push(static_cast<uint8_t>(r.pc >> 8));
  Push(r.x);
  Push(r.a);
  Push(r.Ccr());
  r.i = 1;
  m_interruptTaken = true;
  r.pc = static_cast<uint16_t>((m_memory[vector] << 8 | m_memory[vector + 1]) & kMask);
}

int TMotorolaEngine::Step() {
  TCpuRegisters& r = m_cpu;
  m_error = kEngineOk;
  const uint16_t pc = r.pc & kMask;
  r.previousPc = pc;
  const uint8_t op = m_memory[pc];
  const TDecoded d = m_decode[op];
  if (!d.defined) {
    r.pc = (pc + 1) & kMask;
    m_error = kEngineUndefinedOpcode;
    return 0;
  }
  const uint8_t b1 = m_memory[(pc + 1) & kMask];
  const uint8_t b2 = m_memory[(pc + 2) & kMask];
  const auto next = static_cast<uint16_t>((pc + d.length) & kMask);
  r.pc = next;  // register reads see the PC after the instruction

  uint16_t ea = 0;
  switch (static_cast<TMode>(d.mode)) {
    case TMode::Direct:
    case TMode::BitSetClear:
    case TMode::BitTestBranch: ea = b1; break;
    case TMode::Extended: ea = (b1 << 8 | b2) & kMask; break;
    case TMode::Indexed2: ea = ((b1 << 8 | b2) + r.x) & kMask; break;
    case TMode::Indexed1: ea = (b1 + r.x) & kMask; break;
    case TMode::Indexed: ea = r.x; break;
    case TMode::Relative: ea = (next + static_cast<int8_t>(b1)) & kMask; break;
    default: break;  // inherent; immediate takes b1
  }

  const uint8_t row = op >> 4, column = op & 0x0F;
  switch (row) {
    case 0x0: {  // BRSET (even) / BRCLR (odd): the tested bit goes to C
      r.c = Read(ea) >> d.bit & 1;
      if (r.c != (column & 1)) r.pc = (next + static_cast<int8_t>(b2)) & kMask;
      break;
    }
    case 0x1: {  // BSET (even) / BCLR (odd)
      const uint8_t m = Read(ea), mask = static_cast<uint8_t>(1 << d.bit);
      Write(ea, (column & 1) ? static_cast<uint8_t>(m & ~mask) : static_cast<uint8_t>(m | mask));
      break;
    }
    case 0x2:
      if (BranchTaken(r, column, m_env.interruptPin)) r.pc = ea;
      break;
    case 0x3:
    case 0x4:
    case 0x5:
    case 0x6:
    case 0x7: {  // read-modify-write on memory, A (row 4) or X (row 5)
      if (op == 0x42) {  // MUL
        const unsigned product = r.a * r.x;
        r.x = static_cast<uint8_t>(product >> 8);
        r.a = static_cast<uint8_t>(product);
        r.h = r.c = 0;
        break;
      }
      const uint8_t m = row == 4 ? r.a : row == 5 ? r.x : column == 0xF ? 0 : Read(ea);
      uint8_t result = 0;
      switch (column) {
        case 0x0: result = static_cast<uint8_t>(-m), r.c = result != 0; break;         // NEG
        case 0x3: result = static_cast<uint8_t>(~m), r.c = 1; break;                   // COM
        case 0x4: r.c = m & 1, result = m >> 1; break;                                 // LSR
        case 0x6: result = static_cast<uint8_t>(m >> 1 | r.c << 7), r.c = m & 1; break; // ROR
        case 0x7: r.c = m & 1, result = static_cast<uint8_t>(m >> 1 | (m & 0x80)); break;  // ASR
        case 0x8: r.c = m >> 7, result = static_cast<uint8_t>(m << 1); break;          // LSL
        case 0x9: result = static_cast<uint8_t>(m << 1 | r.c), r.c = m >> 7; break;    // ROL
        case 0xA: result = static_cast<uint8_t>(m - 1); break;                         // DEC
        case 0xC: result = static_cast<uint8_t>(m + 1); break;                         // INC
        case 0xD: result = m; break;                                                   // TST
        default: result = 0; break;                                                    // CLR
      }
      SetNz(r, result);
      if (column == 0xD) break;
      if (row == 4) r.a = result;
      else if (row == 5) r.x = result;
      else Write(ea, result);
      break;
    }
    case 0x8:
    case 0x9:
      switch (op) {
        case 0x80: {  // RTI
          r.SetCcr(Pull());
          r.a = Pull();
          r.x = Pull();
          const uint8_t high = Pull();
          r.pc = static_cast<uint16_t>((high << 8 | Pull()) & kMask);
          break;
        }
        case 0x81: {  // RTS
          const uint8_t high = Pull();
          r.pc = static_cast<uint16_t>((high << 8 | Pull()) & kMask);
          break;
        }
        case 0x83:  // SWI: masked by I in this controller
          if (!r.i) EnterInterrupt(kVectorSwi);
          break;
        case 0x8F:  // WAIT: stay on the opcode until an interrupt has been taken
          r.i = 0;
          if (!m_interruptTaken) r.pc = pc;
          m_interruptTaken = false;
          break;
        case 0x97: r.x = r.a; break;
        case 0x98: r.c = 0; break;
        case 0x99: r.c = 1; break;
        case 0x9A: r.i = 0; break;
        case 0x9B: r.i = 1; break;
        case 0x9C: r.sp = 0xFF; break;
        case 0x9F: r.a = r.x; break;
        default: break;  // NOP, STOP
      }
      break;
    default: {  // register/memory rows A (immediate) to F (,X)
      uint8_t m = 0;
      if (column != 0x7 && column != 0xC && column != 0xD && column != 0xF) m = row == 0xA ? b1 : Read(ea);
      switch (column) {
        case 0x0: r.a = Subtract(r, r.a, m, 0); break;    // SUB
        case 0x1: Subtract(r, r.a, m, 0); break;          // CMP
        case 0x2: r.a = Subtract(r, r.a, m, r.c); break;  // SBC
        case 0x3: Subtract(r, r.x, m, 0); break;          // CPX
        case 0x4: r.a &= m, SetNz(r, r.a); break;         // AND
        case 0x5: SetNz(r, r.a & m); break;               // BIT
        case 0x6: r.a = m, SetNz(r, m); break;            // LDA
        case 0x7: Write(ea, r.a), SetNz(r, r.a); break;   // STA
        case 0x8: r.a ^= m, SetNz(r, r.a); break;         // EOR
        case 0x9: r.a = Add(r, r.a, m, r.c); break;       // ADC
        case 0xA: r.a |= m, SetNz(r, r.a); break;         // ORA
        case 0xB: r.a = Add(r, r.a, m, 0); break;         // ADD
        case 0xC: r.pc = ea; break;                       // JMP
        case 0xD:                                         // JSR, and BSR (AD, relative)
          Push(static_cast<uint8_t>(next));
          Push(static_cast<uint8_t>(next >> 8));
          r.pc = ea;
          break;
        case 0xE: r.x = m, SetNz(r, m); break;            // LDX
        default: Write(ea, r.x), SetNz(r, r.x); break;    // STX
      }
    }
  }
  return d.cycles;
}

}  // namespace zarvek::hc05
