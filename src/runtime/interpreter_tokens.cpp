// The token dispatch and the machine's memories and pins.
#include <cmath>

#include "runtime/interpreter.h"
#include "runtime/runtime_errors.h"
#include "base/tokens.h"

namespace zarvek {

namespace {

constexpr uint8_t kBit = 1, kByte = 8, kWord = 16;

int32_t S16(int32_t v) { return static_cast<int16_t>(v); }

}  // namespace

void TInterpreter::Dispatch(uint8_t token) {
  switch (token) {
    case tok::CLRSTACK: m_stack.fill(0); return;
    case tok::PAUSE: {
      // The count is taken as unsigned, so a negative PAUSE is a very long one.
      const uint32_t n = static_cast<uint32_t>(Pop());
      Sleep(static_cast<int64_t>(n) * 20'000);
      return;
    }
    case tok::GOTO: JumpTo(Fetch16()); return;
    case tok::JUMPF: {
      const uint16_t target = Fetch16();
      if (Pop() == 0 && !m_errorFlag) JumpTo(target);
      return;
    }
    case tok::GOSUB: {
      const uint16_t target = Fetch16();
      PushCall(static_cast<uint32_t>(m_pc));
      if (!m_errorFlag) JumpTo(target);
      return;
    }
    case tok::RETURN: {
      const uint32_t target = PopCall();
      if (!m_errorFlag) JumpTo(target);
      return;
    }
    case tok::RETI:
      JumpTo(static_cast<uint32_t>(m_interrupts[0].savedPc));
      m_interrupts[0].inService.store(false, std::memory_order_release);
      return;

    case tok::PINREAD: {
      const int pin = Fetch();
      if (pin < 32) m_driven[pin] = false;
      Push(ReadPin(pin));
      return;
    }
    case tok::PORTREAD: {
      const int port = Fetch();
      ReleasePort(port);
      Push(ReadPort(port));
      return;
    }
    case tok::WPORTREAD: {
      const int w = Fetch();
      ReleasePort(2 * w);
      ReleasePort(2 * w + 1);
      Push(ReadWordPort(w));
      return;
    }
    case tok::PINWRITE: {
      const int pin = Fetch();
      const int32_t v = Pop();
      SetPinLatch(pin, v != 0);
      WritePin(pin, v);
      return;
    }
    case tok::PORTWRITE: {
      const int port = Fetch();
      const int32_t v = Pop();
      DriveLatch(port, static_cast<uint8_t>(v));
      WritePort(port, v);
      return;
    }
    case tok::WPORTWRITE: {
      const int w = Fetch();
      const int32_t v = Pop();
      DriveLatch(2 * w, static_cast<uint8_t>(v >> 8));
      DriveLatch(2 * w + 1, static_cast<uint8_t>(v));
      WriteWordPort(w, v);
      return;
    }
    case tok::ADREAD: {
      const int32_t r = ReadAD(Fetch());
      Push(r);
      Push(r >> 2);
      return;
    }
    case tok::DAWRITE: {
      const int channel = Fetch();
      WriteDA(channel, Pop());
      return;
    }
    case tok::PINTOGGLE:
    case tok::PINPULSE: {
      const int pin = Fetch();
      for (int k = token == tok::PINPULSE ? 2 : 1; k > 0; --k) {
        const int32_t v = PinLatch(pin) ? 0 : -1;
        WritePin(pin, v);
        SetPinLatch(pin, v != 0);
      }
      return;
    }
    case tok::DEACTPIN: {
      const int pin = Fetch();
      if (pin < 32) m_driven[pin] = false;
      DeactPin(pin);
      return;
    }
    case tok::DEACTPORT: {
      const int port = Fetch();
      ReleasePort(port);
      DeactPort(port);
      return;
    }
    case tok::DEACTWPORT: {
      const int w = Fetch();
      for (int port : {2 * w, 2 * w + 1}) {
        ReleasePort(port);
        DeactPort(port);
      }
      return;
    }

    case tok::PUSHW: Push(Fetch16()); return;
    case tok::PUSHB: Push(Fetch()); return;
    case tok::LBITREAD: Push(ReadLocal(kBit, Fetch())); return;
    case tok::LBYTEREAD: Push(ReadLocal(kByte, Fetch())); return;
    case tok::LWORDREAD: Push(ReadLocal(kWord, Fetch())); return;
    case tok::LBITWRITE: {
      const uint8_t operand = Fetch();
      WriteLocal(kBit, operand, Pop());
      return;
    }
    case tok::LBYTEWRITE: {
      const uint8_t operand = Fetch();
      WriteLocal(kByte, operand, Pop());
      return;
    }
    case tok::LWORDWRITE: {
      const uint8_t operand = Fetch();
      WriteLocal(kWord, operand, Pop());
      return;
    }
    case tok::TABLEREAD: {
      // The table address is 16-bit arithmetic, as on the board: a negative index reaches
      // back from the table, modulo 65536.
      const uint16_t table = Fetch16();
      const uint32_t offset = static_cast<uint16_t>(table + 2u * static_cast<uint32_t>(Pop()));
      if (offset + 1 >= m_program.size()) {
        Push(0);
        RaiseError(err::NoSuchMemory);
        return;
      }
      Push(m_program[offset] << 8 | m_program[offset + 1]);
      return;
    }
    case tok::MBITREAD:
    case tok::MBYTEREAD:
    case tok::MWORDREAD: {
      const uint8_t space = Fetch();
      const uint8_t width = token == tok::MBITREAD ? kBit : token == tok::MBYTEREAD ? kByte : kWord;
      PushFromSpace(space, width, static_cast<uint16_t>(Pop()));
      return;
    }
    case tok::MBITWRITE:
    case tok::MBYTEWRITE:
    case tok::MWORDWRITE: {
      const uint8_t space = Fetch();
      const uint8_t width = token == tok::MBITWRITE ? kBit : token == tok::MBYTEWRITE ? kByte : kWord;
      const uint16_t address = static_cast<uint16_t>(Pop());
      const int32_t value = Pop();
      WriteSpace(space, width, address, value);
      return;
    }

    case tok::SYSREAD: PushSystemVariable(Fetch()); return;
    case tok::SYSWRITE: {
      const uint8_t number = Fetch();
      WriteSystemVariable(number, Pop());
      return;
    }
    case tok::PRINTNUM: SendText(std::to_string(S16(Pop()))); return;
    case tok::PRINTSTR: PrintString(); return;
    case tok::PUTCHAR: SendText(std::string(1, static_cast<char>(Pop() & 0xFF))); return;
    case tok::RXREADY: Push(m_rxCount > 0 ? -1 : 0); return;
    case tok::GETCHAR: GetChar(); return;
    case tok::INPUTNUM: InputNumber(); return;

    case tok::NOT: Push(~Pop()); return;
    case tok::AND:
    case tok::NAND:
    case tok::OR:
    case tok::NOR:
    case tok::XOR:
    case tok::SHL:
    case tok::SHR: {
      const uint32_t b = static_cast<uint32_t>(Pop());
      const uint32_t a = static_cast<uint32_t>(Pop());
      uint32_t r = 0;
      switch (token) {
        case tok::AND: r = a & b; break;
        case tok::NAND: r = ~(a & b); break;
        case tok::OR: r = a | b; break;
        case tok::NOR: r = ~(a | b); break;
        case tok::XOR: r = a ^ b; break;
        case tok::SHL: r = a << (b & 31); break;
        default: r = a >> (b & 31); break;
      }
      Push(static_cast<int32_t>(r));
      return;
    }
    case tok::RANDSEED: m_random->SetSeed(static_cast<uint32_t>(Pop())); return;
    case tok::RAND: Push(m_random->Next()); return;
    case tok::NEG: Push(-S16(Pop())); return;
    case tok::ABS: Push(std::abs(S16(Pop()))); return;
    case tok::SQR: {
      const int32_t a = S16(Pop());
      Push(a < 0 ? 0 : static_cast<int32_t>(std::nearbyint(std::sqrt(static_cast<double>(a)))));
      return;
    }
    case tok::ISNEG: Push(S16(Pop()) < 0 ? -1 : 0); return;
    case tok::ADD:
    case tok::SUB:
    case tok::MUL:
    case tok::DIV:
    case tok::MOD:
    case tok::MAX:
    case tok::MIN:
    case tok::GT:
    case tok::GE:
    case tok::LT:
    case tok::LE:
    case tok::EQ:
    case tok::NE: {
      const int32_t b = S16(Pop());
      const int32_t a = S16(Pop());
      int32_t r = 0;
      switch (token) {
        case tok::ADD: r = a + b; break;
        case tok::SUB: r = a - b; break;
        case tok::MUL: r = a * b; break;
        case tok::DIV: r = b == 0 ? 0 : a / b; break;
        case tok::MOD: r = b == 0 ? 0 : a % b; break;
        case tok::MAX: r = a > b ? a : b; break;
        case tok::MIN: r = a < b ? a : b; break;
        case tok::GT: r = a > b ? -1 : 0; break;
        case tok::GE: r = a >= b ? -1 : 0; break;
        case tok::LT: r = a < b ? -1 : 0; break;
        case tok::LE: r = a <= b ? -1 : 0; break;
        case tok::EQ: r = a == b ? -1 : 0; break;
        default: r = a != b ? -1 : 0; break;
      }
      Push(r);
      return;
    }

    case tok::FILEOP: FileOperation(Fetch()); return;
    case tok::EOF_: Push(m_filePosition >= FileSize() ? -1 : 0); return;
    case tok::SETBAUD: SetBaudCode(Fetch()); return;
    case tok::SETHANDLER: {
      const uint8_t kind = Fetch();
      SetHandler(kind, Fetch16());
      return;
    }

    case tok::DUP: {
      const int32_t v = Pop();
      Push(v);
      Push(v);
      return;
    }
    case tok::DROP: Pop(); return;
    case tok::SWAP: {
      const int32_t a = Pop();
      const int32_t b = Pop();
      Push(a);
      Push(b);
      return;
    }
    case tok::XCHG: {
      const unsigned depth = Fetch() + 1u;
      // The stack has 64 cells; a deeper cell does not exist.
      if (depth >= kStackCells) {
        RaiseError(err::StackUnderflow);
        return;
      }
      std::swap(m_stack[m_stackTop], m_stack[(m_stackTop + depth) % kStackCells]);
      return;
    }

    case tok::CALLF: {
      const uint16_t target = Fetch16();
      PushCall(static_cast<uint32_t>(m_pc));
      if (m_errorFlag) return;
      JumpTo(target);
      if (m_frame < kMaxFrame) ++m_frame;
      return;
    }
    case tok::RETF: {
      const uint32_t target = PopCall();
      if (m_errorFlag) return;
      JumpTo(target);
      if (m_frame > 0) --m_frame;
      return;
    }
    case tok::END:
      JumpTo(4);
      m_ended = true;
      Attend(kAttendEnded);
      return;

    default: RaiseError(err::InvalidToken); return;
  }
}

// ---------------------------------------------------------------------------------------
// Memory spaces and local frames. Addresses are 16-bit (the low half of the cell, so that
// an address computed with 16-bit arithmetic above 32767 still counts), and they are not
// trusted: an access outside a space's storage, or to a space without storage, raises
// error 5 and reads 0.

TInterpreter::TSpace TInterpreter::Space(uint8_t space) {
  auto of = [](std::vector<uint8_t>& v) { return TSpace{v.data(), static_cast<uint32_t>(v.size())}; };
  switch (space) {
    case 0: return of(m_space0);
    case 1: return of(m_space1);
    case 3: return of(m_program);
    case 4: return of(m_space4);
    default: return {};
  }
}

namespace {

// Byte offset of an access and whether it lies inside storage of the given size.
bool Locate(uint8_t width, uint32_t address, uint32_t size, uint64_t& offset) {
  offset = width == kBit ? address / 8 : width == kByte ? address : 2 * uint64_t{address};
  return offset + (width == kWord ? 1 : 0) < size;
}

}  // namespace

void TInterpreter::PushFromSpace(uint8_t space, uint8_t width, uint32_t address) {
  const TSpace s = Space(space);
  uint64_t offset = 0;
  if (!Locate(width, address, s.size, offset)) {
    // The 0 goes on the stack before the error, so that a handler finds its own values
    // on top.
    Push(0);
    RaiseError(err::NoSuchMemory);
  } else if (width == kBit) {
    Push((s.data[offset] >> (address % 8)) & 1 ? -1 : 0);
  } else if (width == kByte) {
    Push(s.data[offset]);
  } else {
    Push(s.data[offset] << 8 | s.data[offset + 1]);
  }
}

void TInterpreter::WriteSpace(uint8_t space, uint8_t width, uint32_t address, int32_t value) {
  const TSpace s = Space(space);
  uint64_t offset = 0;
  if (!Locate(width, address, s.size, offset)) {
    RaiseError(err::NoSuchMemory);
    return;
  }
  if (width == kBit) {
    const uint8_t mask = static_cast<uint8_t>(1u << (address % 8));
    s.data[offset] = value != 0 ? (s.data[offset] | mask) : (s.data[offset] & ~mask);
  } else if (width == kByte) {
    s.data[offset] = static_cast<uint8_t>(value);
  } else {
    s.data[offset] = static_cast<uint8_t>(value >> 8);
    s.data[offset + 1] = static_cast<uint8_t>(value);
  }
}

// The local memory holds every address an operand byte can form from any frame, so local
// accesses need no check.
int32_t TInterpreter::ReadLocal(uint8_t width, uint8_t operand) const {
  uint64_t offset = 0;
  Locate(width, operand, kLocalMemorySize, offset);
  const uint8_t* frame = m_local.data() + m_frame * kFrameSize;
  if (width == kBit) return (frame[offset] >> (operand % 8)) & 1 ? -1 : 0;
  if (width == kByte) return frame[offset];
  return frame[offset] << 8 | frame[offset + 1];
}

void TInterpreter::WriteLocal(uint8_t width, uint8_t operand, int32_t value) {
  uint64_t offset = 0;
  Locate(width, operand, kLocalMemorySize, offset);
  uint8_t* frame = m_local.data() + m_frame * kFrameSize;
  if (width == kBit) {
    const uint8_t mask = static_cast<uint8_t>(1u << (operand % 8));
    frame[offset] = value != 0 ? (frame[offset] | mask) : (frame[offset] & ~mask);
  } else if (width == kByte) {
    frame[offset] = static_cast<uint8_t>(value);
  } else {
    frame[offset] = static_cast<uint8_t>(value >> 8);
    frame[offset + 1] = static_cast<uint8_t>(value);
  }
}

// ---------------------------------------------------------------------------------------
// Output latches and direction flags; pins and ports beyond the four byte ports reach
// the hooks but have no latch.

void TInterpreter::DriveLatch(int port, uint8_t value) {
  if (port >= 4) return;
  m_latch[port] = value;
  for (int bit = 0; bit < 8; ++bit) m_driven[port * 8 + bit] = true;
}

void TInterpreter::ReleasePort(int port) {
  if (port >= 4) return;
  for (int bit = 0; bit < 8; ++bit) m_driven[port * 8 + bit] = false;
}

void TInterpreter::SetPinLatch(int pin, bool high) {
  if (pin >= 32) return;
  m_driven[pin] = true;
  const uint8_t mask = static_cast<uint8_t>(1u << (pin % 8));
  m_latch[pin / 8] = high ? (m_latch[pin / 8] | mask) : (m_latch[pin / 8] & ~mask);
}

bool TInterpreter::PinLatch(int pin) const {
  return pin < 32 && ((m_latch[pin / 8] >> (pin % 8)) & 1);
}

}  // namespace zarvek
