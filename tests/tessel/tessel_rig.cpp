#include "tessel_rig.h"

#include <algorithm>

#include "base/token_list.h"

namespace zarvek::tessel {

namespace {
enum TOperands { None, Byte, Word, ByteWord, Text };
int OperandKind(uint8_t token) {
  switch (token) {
#define ZARVEK_TOKEN_KIND(byte, name, kind) \
  case byte: return kind;
    ZARVEK_TOKENS(ZARVEK_TOKEN_KIND)
#undef ZARVEK_TOKEN_KIND
    case 0x08: return Word;
    default: return None;
  }
}
}  // namespace

std::set<uint16_t> TokenStarts(const std::string& image) {
  std::set<uint16_t> starts;
  size_t i = 0;
  while (i < image.size()) {
    const auto token = static_cast<uint8_t>(image[i]);
    starts.insert(static_cast<uint16_t>(i + 4));
    ++i;
    // Tessel SETHANDLER: FE/FF then an address, or the IRQ handler's address alone.
    if (token == 0x49) {
      i += (i < image.size() && static_cast<uint8_t>(image[i]) >= 0xFE) ? 3 : 2;
      continue;
    }
    switch (OperandKind(token)) {
      case Byte: i += 1; break;
      case Word: i += 2; break;
      case ByteWord: i += 3; break;
      case Text:
        while (i < image.size() && image[i] != 0) ++i;
        ++i;
        break;
      default: break;
    }
    if (token == 0xFF && (i >= image.size() || static_cast<uint8_t>(image[i]) == 0xFF)) break;
  }
  return starts;
}

TRig::TRig(TTesselVariant v) : variant(v) { engine.SetRuntimeImage(RuntimeImage(v)); }

void TRig::Load(const std::string& image) {
  std::string message;
  EXPECT_TRUE(engine.LoadEeprom(0, image, &message)) << message;
  engine.Eeprom().Bytes()[2] = engine.Eeprom().Bytes()[3] = 0;
  engine.Reset(true);
  starts = TokenStarts(image);
  fetched.clear();
  badFetches = 0;
}

bool TRig::LoadBasic(const std::string& source, const std::string& assembler) {
  TBuilder builder;
  TBuildInput input;
  input.basicSource = source;
  input.assemblerSource = assembler;
  input.profile = variant == TTesselVariant::Micro ? profile::TesselMicro : profile::Tessel11;
  input.warnings = false;
  const TBuildResult r = builder.Build(input);
  if (!r.success) {
    ADD_FAILURE() << "does not compile: " << (r.basicError ? r.basicError->message.str() : std::string("assembler"));
    return false;
  }
  Load(r.program.image);
  if (!r.machineCode.code.empty() &&
      !engine.LoadCode(r.machineCode.startAddress, r.machineCode.code)) {
    ADD_FAILURE() << "machine code does not fit";
    return false;
  }
  return true;
}

TRunEnd TRig::Run(long maxSteps) {
  const uint16_t idle = Sym("IDLE"), error = Sym("ERRSTOP");
  auto& cpu = engine.Cpu();
  size_t nextInterrupt = 0;
  long releaseAt = -1;
  for (long i = 0; i < maxSteps; ++i) {
    if (nextInterrupt < interruptAfter.size() && fetched.size() >= interruptAfter[nextInterrupt]) {
      engine.Environment().interruptPin = false;
      releaseAt = i + 50;
      ++nextInterrupt;
    }
    if (i == releaseAt) engine.Environment().interruptPin = true;
    budget.receive = i % 400 == 0 ? 1 : 0;  // about 9600 baud at a 2 MHz bus clock
    if (cpu.pc == kTokenFetchAddress) {
      const uint16_t address = static_cast<uint16_t>(engine.Eeprom().WordAddress() - 1);
      fetched.push_back(address);
      if (cpu.a != engine.Eeprom().At(address) || !starts.count(address)) {
        if (++badFetches < 5) {
          ADD_FAILURE() << "token fetch at " << address << ": A = " << int(cpu.a)
                        << ", EEPROM " << int(engine.Eeprom().At(address));
        }
      }
    }
    if (cpu.pc == idle) return TRunEnd::Idle;
    if (cpu.pc == error) return TRunEnd::Error;
    engine.RunStep(budget);
    lowestSp = std::min(lowestSp, cpu.sp);
    if (engine.ErrorState() != 0) {
      ADD_FAILURE() << "engine error " << int(engine.ErrorState()) << " at PC " << cpu.previousPc;
      return TRunEnd::EngineError;
    }
  }
  return TRunEnd::StepLimit;
}

std::string TRig::TakeOutput(size_t count, long maxSteps) {
  std::string& text = engine.Environment().transmitText;
  for (long i = 0; i < maxSteps && text.size() < count; ++i) {
    budget.receive = i % 400 == 0 ? 1 : 0;
    engine.RunStep(budget);
    if (engine.ErrorState() != 0) break;  // the caller looks at the error state
  }
  std::string taken = text;
  text.clear();
  return taken;
}

uint16_t TRig::Sym(const char* name) const {
  const auto value = Symbol(variant, name);
  if (!value) ADD_FAILURE() << "no symbol " << name;
  return value.value_or(0);
}

int16_t TRig::Cell(int depth) const {
  const auto& m = engine.Memory();
  const int index = (m[Sym("DSP")] - depth) & 15;
  return static_cast<int16_t>(m[Sym("DSH") + index] << 8 | m[Sym("DSL") + index]);
}

}  // namespace zarvek::tessel
