// The CPU core against an independent simulator: SDCC's ucsim for the HC08 (shc08), which
// runs the HC05 instruction set with the same results on A, X, H, I, N, Z, C, the PC and
// memory. Random instruction sequences run on both from the same registers and RAM; after
// every instruction the registers must agree, and so must every byte the instruction
// wrote and, at the end of each sequence, the whole RAM $80-$FF.
//
// The generator runs our engine along as it writes each sequence, so that it can choose
// operands that keep every data access inside RAM $80-$FF and every jump inside the code
// areas ($50-$7F and $0100-$02FF), and it ends a sequence where control would reach code
// it has already written. Left out, because the HC08 differs there on purpose: SWI (the
// HC08 does not mask it), STOP and WAIT (the HC08 goes on), and the HC05's undefined
// opcodes (most are HC08 instructions). BIL and BIH stay in: shc08 reads the interrupt pin
// high, and our pin is set high too.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <random>
#include <set>
#include <sstream>

#include "hc05/motorola_engine.h"
#include "hc05/opcodes.h"

namespace zarvek::hc05 {
namespace {

namespace fs = std::filesystem;

constexpr int kSequences = 2500;
constexpr int kMaxSteps = 40;
constexpr uint16_t kDataLow = 0x80, kDataHigh = 0xFF;  // RAM the instructions use
constexpr uint16_t kLowCodeBegin = 0x50, kLowCodeEnd = 0x80;  // code reachable by direct jumps
constexpr uint16_t kCodeBegin = 0x100, kCodeEnd = 0x300;
constexpr uint16_t kStackFloor = 0xC2;  // a push needs SP at least here: the stack stays in $C0-$FF

bool InCode(int a) { return (a >= kLowCodeBegin && a < kLowCodeEnd) || (a >= kCodeBegin && a < kCodeEnd); }
int AreaEnd(int a) { return a < kLowCodeEnd ? kLowCodeEnd : kCodeEnd; }

std::string Hex(int value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%02x", value);
  return text;
}

struct TStepRecord {
  uint8_t opcode = 0;
  int writeLow = -1, writeHigh = -1;  // RAM the instruction writes, -1: none
};

struct TSequence {
  std::array<uint8_t, kCodeEnd> memory{};  // $0000-$02FF: code areas and RAM
  TCpuRegisters start;
  std::vector<TStepRecord> steps;
};

// Builds sequences instruction by instruction at the PC our engine reaches.
class TGenerator {
 public:
  explicit TGenerator(uint32_t seed) : m_random(seed) {
    for (int op = 0; op < 256; ++op) {
      const auto o = static_cast<uint8_t>(op);
      if (Opcode(o).Defined() && o != 0x83 && o != 0x8E && o != 0x8F) m_opcodes.push_back(o);
    }
  }
  const std::vector<uint8_t>& Opcodes() const { return m_opcodes; }

  TSequence Generate() {
    TSequence s;
    for (int a = kDataLow; a <= kDataHigh; ++a) s.memory[a] = Byte();
    TCpuRegisters& r = s.start;
    r.a = Byte(), r.x = Byte();
    r.SetCcr(Byte());
    r.sp = static_cast<uint16_t>(Pick(0xD0, 0xFF));
    if (Pick(0, 2) == 0) {  // a frame for RTI: CCR, A, X, PC
      r.sp = 0xFA;
      s.memory[0xFB] = Byte(), s.memory[0xFC] = Byte(), s.memory[0xFD] = Byte();
      const int target = Pick(kCodeBegin + 0x80, kCodeEnd - 4);
      s.memory[0xFE] = static_cast<uint8_t>(target >> 8), s.memory[0xFF] = static_cast<uint8_t>(target);
    }
    r.pc = kCodeBegin;
    m_written.fill(false);
    m_engine = TMotorolaEngine();
    std::copy(s.memory.begin() + kLowCodeBegin, s.memory.end(), m_engine.Memory().begin() + kLowCodeBegin);
    m_engine.Cpu() = r;
    for (int step = 0; step < kMaxSteps; ++step) {
      const uint16_t pc = m_engine.Cpu().pc;
      if (!InCode(pc) || m_written[pc]) break;
      std::optional<TStepRecord> record;
      std::array<uint8_t, 3> bytes{};
      for (int attempt = 0; attempt < 60 && !record; ++attempt) record = Choose(pc, bytes);
      if (!record) break;
      for (int i = 0; i < Opcode(bytes[0]).length; ++i) {
        s.memory[pc + i] = m_engine.Memory()[pc + i] = bytes[static_cast<size_t>(i)];
        m_written[pc + i] = true;
      }
      m_engine.Step();
      if (m_engine.ErrorState() != 0) {
        ADD_FAILURE() << "generator: error state " << int(m_engine.ErrorState()) << " at " << Hex(pc);
        break;
      }
      s.steps.push_back(*record);
    }
    return s;
  }

 private:
  uint8_t Byte() { return static_cast<uint8_t>(Pick(0, 255)); }
  int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(m_random); }
  bool Free(int a) const { return InCode(a) && !m_written[a]; }

  // A data address in RAM reachable as X + offset with offset 0..maxOffset; -1 if none.
  int IndexedData(int maxOffset) {
    const int x = m_engine.Cpu().x;
    const int low = std::max<int>(kDataLow, x), high = std::min<int>(kDataHigh, x + maxOffset);
    return low > high ? -1 : Pick(low, high);
  }
  // A free code address reachable as X + offset; -1 if none found.
  int IndexedCode(int maxOffset) {
    const int x = m_engine.Cpu().x;
    for (int tries = 0; tries < 8; ++tries) {
      const int t = Pick(x, std::min(x + maxOffset, kCodeEnd - 1));
      if (Free(t)) return t;
    }
    return -1;
  }
  int FreeCode(int low, int high) {
    for (int tries = 0; tries < 8; ++tries) {
      const int t = Pick(low, high);
      if (Free(t)) return t;
    }
    return -1;
  }
  // A branch displacement to a free address (mostly forward, so sequences run on).
  std::optional<uint8_t> Displacement(int next) {
    for (int tries = 0; tries < 8; ++tries) {
      const int d = tries < 6 ? Pick(-12, 40) : Pick(-128, 127);
      if (Free(next + d)) return static_cast<uint8_t>(d);
    }
    return std::nullopt;
  }
  std::optional<TStepRecord> Choose(uint16_t pc, std::array<uint8_t, 3>& b) {
    const uint8_t op = m_opcodes[static_cast<size_t>(Pick(0, static_cast<int>(m_opcodes.size()) - 1))];
    const TOpcode& o = Opcode(op);
    for (int i = 0; i < o.length; ++i) {
      if (!Free(pc + i) || pc + i >= AreaEnd(pc)) return std::nullopt;
    }
    const TCpuRegisters& r = m_engine.Cpu();
    const int next = pc + o.length, row = op >> 4, column = op & 0xF;
    TStepRecord rec{op};
    b = {op, 0, 0};
    const auto set16 = [&](int v) { b[1] = static_cast<uint8_t>(v >> 8), b[2] = static_cast<uint8_t>(v); };
    const bool push = op == 0xAD || (row >= 0xB && column == 0xD);
    if (push && r.sp < kStackFloor) return std::nullopt;
    if (push) rec.writeLow = r.sp - 1, rec.writeHigh = r.sp;

    if (row == 0x0 || row == 0x1) {  // bit test and branch, bit set/clear
      b[1] = static_cast<uint8_t>(Pick(kDataLow, kDataHigh));
      if (row == 0x0) {
        const auto d = Displacement(next);
        if (!d) return std::nullopt;
        b[2] = *d;
      } else {
        rec.writeLow = rec.writeHigh = b[1];
      }
      return rec;
    }
    if (row == 0x2 || op == 0xAD) {
      const auto d = Displacement(next);
      if (!d) return std::nullopt;
      b[1] = *d;
      return rec;
    }
    if (op == 0x81 || op == 0x80) {  // RTS, RTI: only onto a return address into code
      const int depth = op == 0x81 ? 2 : 5;
      if (r.sp > 0xFF - depth) return std::nullopt;
      const uint8_t* m = m_engine.Memory().data();
      const int t = m[r.sp + depth - 1] << 8 | m[r.sp + depth];
      return InCode(t) ? std::optional(rec) : std::nullopt;
    }
    if (o.mode == TMode::Inherent) return rec;

    const bool jump = row >= 0xB && (column == 0xC || column == 0xD);
    const bool writes = (row >= 0xB && (column == 0x7 || column == 0xF)) ||
                        ((row == 0x3 || row == 0x6 || row == 0x7) && column != 0xD);
    int target = -1;
    switch (o.mode) {
      case TMode::Immediate: b[1] = Byte(); return rec;
      case TMode::Direct:
        target = jump ? FreeCode(kLowCodeBegin, kLowCodeEnd - 1) : Pick(kDataLow, kDataHigh);
        b[1] = static_cast<uint8_t>(target);
        break;
      case TMode::Extended:
        target = jump ? FreeCode(kLowCodeBegin, kCodeEnd - 1) : Pick(kDataLow, kDataHigh);
        set16(target);
        break;
      case TMode::Indexed2:
        target = jump ? IndexedCode(0xFFFF) : IndexedData(0xFFFF);
        set16(target - r.x);
        break;
      case TMode::Indexed1:
        target = jump ? IndexedCode(0xFF) : IndexedData(0xFF);
        b[1] = static_cast<uint8_t>(target - r.x);
        break;
      default:  // ,X
        target = (jump ? Free(r.x) : (r.x >= kDataLow && r.x <= kDataHigh)) ? r.x : -1;
        break;
    }
    if (target < 0) return std::nullopt;
    if (writes) rec.writeLow = rec.writeHigh = target;
    return rec;
  }

  std::mt19937 m_random;
  std::vector<uint8_t> m_opcodes;
  std::array<bool, kCodeEnd> m_written{};
  TMotorolaEngine m_engine;
};

struct TTheirState {
  int pc = -1, ccr = 0, a = 0, x = 0, sp = 0;
};

// shc08's answers, read from its output by following the echo of each command.
struct TTheirRun {
  std::vector<TTheirState> states;            // one per step command
  std::vector<std::vector<int>> dumps;        // one per dump command
};

int HexAfter(const std::string& line, const std::string& key) {
  const size_t at = line.find(key);
  return at == std::string::npos ? -1 : static_cast<int>(std::strtol(line.c_str() + at + key.size(), nullptr, 16));
}

TTheirRun ParseOutput(const std::string& output, const std::vector<std::string>& commands) {
  TTheirRun run;
  std::istringstream in(output);
  std::string line;
  size_t next = 0;
  std::string current;
  int dumpCount = 0;
  while (std::getline(in, line)) {
    if (next < commands.size() && line == commands[next]) {
      current = commands[next++];
      if (current == "step") run.states.emplace_back();
      if (current.rfind("dump ", 0) == 0) {
        run.dumps.emplace_back();
        std::sscanf(current.c_str(), "dump rom %*x %*x %d", &dumpCount);
      }
      continue;
    }
    if (current == "step" && !run.states.empty()) {
      TTheirState& s = run.states.back();
      if (line.rfind("Stop at 0x", 0) == 0) s.pc = HexAfter(line, "Stop at 0x");
      if (line.find("Flags= $") != std::string::npos) s.ccr = HexAfter(line, "Flags= $"), s.a = HexAfter(line, "A= $");
      if (line.find("X= $") != std::string::npos) s.x = HexAfter(line, "X= $");
      if (line.rfind("SP= $", 0) == 0) s.sp = HexAfter(line, "SP= $");
    } else if (current.rfind("dump ", 0) == 0 && line.rfind("0x", 0) == 0) {
      std::istringstream bytes(line.substr(line.find(' ')));
      std::string token;
      while (static_cast<int>(run.dumps.back().size()) < dumpCount && bytes >> token) {
        run.dumps.back().push_back(static_cast<int>(std::strtol(token.c_str(), nullptr, 16)));
      }
    }
  }
  return run;
}

std::string Dump(int low, int high) {
  return "dump rom " + Hex(low) + " " + Hex(high) + " " + std::to_string(high - low + 1);
}

// The commands that run every sequence on shc08, one after the other.
std::vector<std::string> Commands(const std::vector<TSequence>& sequences) {
  std::vector<std::string> c = {"set option analyzer 0", "fill rom 0 0xffff 0", "expression sp_limit=0", "step"};
  for (const TSequence& s : sequences) {
    c.push_back("fill rom 0x50 0x2ff 0");
    for (int a = kLowCodeBegin; a < kCodeEnd; a += 32) {
      std::string set = "set memory rom " + Hex(a);
      bool any = a >= kDataLow && a <= kDataHigh;
      for (int i = a; i < std::min<int>(a + 32, kCodeEnd); ++i) set += " " + Hex(s.memory[i]), any |= s.memory[i] != 0;
      if (any) c.push_back(set);
    }
    const TCpuRegisters& r = s.start;
    c.push_back("expression A=" + Hex(r.a));
    c.push_back("expression X=" + Hex(r.x));
    c.push_back("expression H=0");
    c.push_back("expression CC=" + Hex(0x60 | (r.Ccr() & 0x1F)));
    c.push_back("expression SP=" + Hex(r.sp));
    c.push_back("pc " + Hex(r.pc));
    for (const TStepRecord& step : s.steps) {
      c.push_back("step");
      if (step.writeLow >= 0) c.push_back(Dump(step.writeLow, step.writeHigh));
    }
    c.push_back(Dump(kDataLow, kDataHigh));
  }
  return c;
}

bool ToolPresent(const std::string& tool) {
  return std::system(("command -v " + tool + " >/dev/null 2>&1").c_str()) == 0;
}

std::string ReadAll(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string Describe(const TSequence& s, size_t step) {
  const uint8_t op = s.steps[step].opcode;
  return std::string(Opcode(op).mnemonic) + " (" + Hex(op) + ") at step " + std::to_string(step);
}

TEST(EngineDifferential, RandomSequencesAgreeWithUcsim) {
  ASSERT_TRUE(ToolPresent("shc08"))
      << "shc08 (ucsim for the HC08) is missing; scripts/install-deps.sh installs it (package sdcc-ucsim)";
  std::string pattern = (fs::temp_directory_path() / "zarvek_emu_XXXXXX").string();
  ASSERT_NE(mkdtemp(pattern.data()), nullptr);
  const fs::path dir = pattern;

  TGenerator generator(20240607);
  std::vector<TSequence> sequences;
  size_t instructions = 0;
  std::set<uint8_t> executed;
  for (int i = 0; i < kSequences; ++i) {
    sequences.push_back(generator.Generate());
    instructions += sequences.back().steps.size();
    for (const TStepRecord& step : sequences.back().steps) executed.insert(step.opcode);
  }
  // Every opcode the comparison may use has run at least once.
  for (uint8_t op : generator.Opcodes()) EXPECT_TRUE(executed.count(op)) << Opcode(op).mnemonic << " " << Hex(op);

  const std::vector<std::string> commands = Commands(sequences);
  {
    std::ofstream out(dir / "cmds.txt");
    for (const std::string& c : commands) out << c << "\n";
  }
  const std::string run = "shc08 -b -C '" + (dir / "cmds.txt").string() + "' </dev/null >'" +
                          (dir / "out.txt").string() + "' 2>&1";
  ASSERT_EQ(std::system(run.c_str()), 0) << "shc08 failed";
  const TTheirRun theirs = ParseOutput(ReadAll(dir / "out.txt"), commands);
  fs::remove_all(dir);
  ASSERT_EQ(theirs.states.size(), instructions + 1);  // one step after reset, then the sequences

  // After the first difference in a sequence the rest of it is only skipped over: what
  // follows a wrong result says nothing new.
  int differences = 0;
  size_t state = 1, dump = 0;
  for (size_t k = 0; k < sequences.size(); ++k) {
    const TSequence& s = sequences[k];
    TMotorolaEngine ours;
    std::copy(s.memory.begin() + kLowCodeBegin, s.memory.end(), ours.Memory().begin() + kLowCodeBegin);
    ours.Cpu() = s.start;
    bool diverged = false;
    const auto differ = [&](const std::string& text) {
      if (++differences <= 20) ADD_FAILURE() << "sequence " << k << ", " << text;
      diverged = true;
    };
    for (size_t i = 0; i < s.steps.size(); ++i) {
      const TTheirState& t = theirs.states[state++];
      const std::vector<int>* written = s.steps[i].writeLow >= 0 ? &theirs.dumps[dump++] : nullptr;
      if (diverged) continue;
      ours.Step();
      const TCpuRegisters& r = ours.Cpu();
      if (ours.ErrorState() != 0) differ(Describe(s, i) + ": error state " + std::to_string(ours.ErrorState()));
      if (r.pc != t.pc || r.a != t.a || r.x != t.x || r.sp != t.sp || (r.Ccr() & 0x1F) != (t.ccr & 0x1F)) {
        differ(Describe(s, i) + ": ours PC " + Hex(r.pc) + " A " + Hex(r.a) + " X " + Hex(r.x) + " SP " + Hex(r.sp) +
               " CCR " + Hex(r.Ccr() & 0x1F) + ", shc08 PC " + Hex(t.pc) + " A " + Hex(t.a) + " X " + Hex(t.x) +
               " SP " + Hex(t.sp) + " CCR " + Hex(t.ccr & 0x1F));
      }
      for (int a = s.steps[i].writeLow, j = 0; written && !diverged && a <= s.steps[i].writeHigh; ++a, ++j) {
        if (j >= static_cast<int>(written->size()) || ours.Memory()[a] != (*written)[j]) {
          differ(Describe(s, i) + ": RAM " + Hex(a) + " ours " + Hex(ours.Memory()[a]));
        }
      }
    }
    const std::vector<int>& ram = theirs.dumps[dump++];
    ASSERT_EQ(ram.size(), size_t{kDataHigh - kDataLow + 1});
    for (int a = kDataLow; a <= kDataHigh && !diverged; ++a) {
      if (ours.Memory()[a] != ram[a - kDataLow]) {
        differ("end: RAM " + Hex(a) + " ours " + Hex(ours.Memory()[a]) + " shc08 " + Hex(ram[a - kDataLow]));
      }
    }
  }
  EXPECT_EQ(differences, 0);
  std::printf("compared %zu sequences, %zu instructions, %zu opcodes; %d differences\n", sequences.size(),
              instructions, executed.size(), differences);
}

}  // namespace
}  // namespace zarvek::hc05
