// Our assembler against two independent ones: dasm (processor 68705) and SDCC's HC08
// assembler sdas6808 with its linker. One source holds every mnemonic in every accepted
// mode with boundary operands; the generator writes it in each assembler's syntax and
// the three outputs must agree byte for byte.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "hc05/assembler.h"
#include "hc05/opcodes.h"

namespace zarvek::hc05 {
namespace {

namespace fs = std::filesystem;

constexpr int kOrigin = 0x1000;

std::string Hex(int value, int digits) {
  char text[16];
  std::snprintf(text, sizeof text, "%0*X", digits, value);
  return text;
}

std::string Lower(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

struct TSources {
  std::vector<std::string> ours;
  std::string dasm = "\tprocessor 68705\n\torg $1000\n";
  std::string sdas = "\t.area CODE (ABS)\n\t.org 0x1000\n";
  std::set<int> opcodes;
  int forms = 0;
  int address = kOrigin;
};

struct TForm {
  std::string ours, dasm, sdas;  // operand texts
  std::string dasmSuffix;        // forces dasm's 8-bit offset for "0,x"
};

void Add(TSources& s, std::string_view name, TMode mode, int opcode, const TForm& f) {
  const std::string lower = Lower(name);
  s.ours.push_back(" " + std::string(name) + (f.ours.empty() ? "" : " " + f.ours));
  // dasm's 6805 table lacks MUL, STOP and WAIT.
  const bool dasmLacks = name == "MUL" || name == "STOP" || name == "WAIT";
  s.dasm += dasmLacks ? "\tdc.b $" + Hex(opcode, 2) + "\n" : "\t" + lower + f.dasmSuffix + " " + f.dasm + "\n";
  s.sdas += "\t" + lower + " " + f.sdas + "\n";
  s.opcodes.insert(opcode);
  ++s.forms;
  s.address += ModeLength(mode);
}

// A branch target at the given distance from the end of the instruction.
std::string Target(const TSources& s, TMode mode, int distance, std::string_view prefix) {
  return std::string(prefix) + Hex(s.address + ModeLength(mode) + distance, 4);
}

void AddAddressForms(TSources& s, const TMnemonic& m, TMode mode, int opcode) {
  switch (mode) {
    case TMode::Immediate:
      for (int v : {0x00, 0xFF}) Add(s, m.name, mode, opcode, {"#$" + Hex(v, 2), "#$" + Hex(v, 2), "#0x" + Hex(v, 2), ""});
      break;
    case TMode::Direct:
      for (int v : {0x00, 0xFF}) Add(s, m.name, mode, opcode, {"$" + Hex(v, 2), "$" + Hex(v, 2), "*0x" + Hex(v, 2), ""});
      break;
    case TMode::Extended:
      for (int v : {0x100, 0xFFFF}) Add(s, m.name, mode, opcode, {"$" + Hex(v, 4), "$" + Hex(v, 4), "0x" + Hex(v, 4), ""});
      break;
    case TMode::Indexed: Add(s, m.name, mode, opcode, {",X", ",x", ",x", ""}); break;
    case TMode::Indexed1:
      for (int v : {0x00, 0xFF}) {
        Add(s, m.name, mode, opcode, {"$" + Hex(v, 2) + ",X", "$" + Hex(v, 2) + ",x", "0x" + Hex(v, 2) + ",x", ".b"});
      }
      break;
    case TMode::Indexed2:
      for (int v : {0x100, 0xFFFF}) {
        Add(s, m.name, mode, opcode, {"$" + Hex(v, 4) + ",X", "$" + Hex(v, 4) + ",x", "0x" + Hex(v, 4) + ",x", ""});
      }
      break;
    default: break;
  }
}

void AddBranchForms(TSources& s, const TMnemonic& m, TMode mode, int opcode) {
  if (mode == TMode::Relative) {
    for (int d : {-128, 127}) {
      Add(s, m.name, mode, opcode, {Target(s, mode, d, "$"), Target(s, mode, d, "$"), Target(s, mode, d, "0x"), ""});
    }
    return;
  }
  for (int bit = 0; bit < 8; ++bit) {
    const int op = opcode + 2 * bit;
    const std::string n = std::to_string(bit);
    for (int a : {0x00, 0xFF}) {
      const std::string addr = Hex(a, 2);
      if (mode == TMode::BitSetClear) {
        Add(s, m.name, mode, op, {n + ",$" + addr, n + ",$" + addr, "#" + n + ",*0x" + addr, ""});
        continue;
      }
      const int d = a == 0 ? -128 : 127;
      const std::string ours = n + ",$" + addr + "," + Target(s, mode, d, "$");
      Add(s, m.name, mode, op, {ours, ours, "#" + n + ",*0x" + addr + "," + Target(s, mode, d, "0x"), ""});
    }
  }
}

TSources Generate() {
  TSources s;
  s.ours.push_back(" ORG $1000");
  for (const TMnemonic& m : AllMnemonics()) {
    for (int k = 0; k < static_cast<int>(m.opcodes.size()); ++k) {
      const auto mode = static_cast<TMode>(k);
      const int opcode = m.OpcodeFor(mode);
      if (opcode < 0) continue;
      if (mode == TMode::Inherent) Add(s, m.name, mode, opcode, {});
      AddAddressForms(s, m, mode, opcode);
      if (mode == TMode::Relative || mode == TMode::BitSetClear || mode == TMode::BitTestBranch) {
        AddBranchForms(s, m, mode, opcode);
      }
    }
  }
  return s;
}

std::string ReadFile(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// The data records of an Intel HEX file as one block from `origin`.
std::string IntelHexBytes(const std::string& hex, int origin) {
  std::map<int, char> memory;
  std::istringstream in(hex);
  std::string line;
  while (std::getline(in, line)) {
    if (line.size() < 11 || line[0] != ':' || line.substr(7, 2) != "00") continue;
    const int count = std::stoi(line.substr(1, 2), nullptr, 16);
    const int address = std::stoi(line.substr(3, 4), nullptr, 16);
    for (int i = 0; i < count; ++i) memory[address + i] = static_cast<char>(std::stoi(line.substr(9 + 2 * i, 2), nullptr, 16));
  }
  std::string bytes;
  for (auto it = memory.find(origin); it != memory.end() && it->first == origin + static_cast<int>(bytes.size()); ++it) {
    bytes += it->second;
  }
  return bytes;
}

bool ToolPresent(const std::string& tool) { return std::system(("command -v " + tool + " >/dev/null 2>&1").c_str()) == 0; }

class AsmDifferential : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "zarvek_asm_XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    m_dir = pattern;
  }
  void TearDown() override { fs::remove_all(m_dir); }

  int Run(const std::string& command) { return std::system(("cd '" + m_dir.string() + "' && " + command).c_str()); }
  void Write(const std::string& name, const std::string& text) { std::ofstream(m_dir / name, std::ios::binary) << text; }
  std::string Read(const std::string& name) { return ReadFile(m_dir / name); }

  fs::path m_dir;
};

// Names the first line whose bytes differ.
std::string FirstDifference(const TAssembly& ours, const std::vector<std::string>& lines, const std::string& theirs) {
  size_t i = 0;
  while (i < ours.code.size() && i < theirs.size() && ours.code[i] == theirs[i]) ++i;
  if (i == ours.code.size() && i == theirs.size()) return "";
  std::string where = "offset " + std::to_string(i);
  for (const TAsmLineMapEntry& e : ours.lineMap) {
    if (e.position <= i) where = "offset " + std::to_string(i) + " in \"" + lines[static_cast<size_t>(e.line)] + "\"";
  }
  return where + " (ours " + std::to_string(ours.code.size()) + " bytes, theirs " + std::to_string(theirs.size()) + ")";
}

TEST_F(AsmDifferential, EveryOpcodeFormMatchesDasmAndSdas6808) {
  ASSERT_TRUE(ToolPresent("dasm")) << "dasm is missing; scripts/install-deps.sh installs it (package dasm)";
  ASSERT_TRUE(ToolPresent("sdas6808") && ToolPresent("sdld6808"))
      << "sdas6808/sdld6808 are missing; scripts/install-deps.sh installs them (package sdcc)";
  const TSources s = Generate();
  EXPECT_EQ(s.opcodes.size(), 210u);  // every defined opcode of the instruction set

  TAssembler assembler;
  const TAssembly ours = assembler.Assemble(s.ours, {});
  ASSERT_TRUE(ours.success) << ours.error->message << " in line " << s.ours[static_cast<size_t>(ours.error->line)];
  EXPECT_EQ(ours.startAddress, static_cast<uint32_t>(kOrigin));
  EXPECT_EQ(ours.lineMap.size(), static_cast<size_t>(s.forms));

  Write("ref.asm", s.dasm);
  ASSERT_EQ(Run("dasm ref.asm -f3 -oref.bin >dasm.log 2>&1"), 0) << Read("dasm.log");
  EXPECT_EQ(FirstDifference(ours, s.ours, Read("ref.bin")), "") << "dasm";

  Write("ref.s", s.sdas);
  ASSERT_EQ(Run("sdas6808 -o ref.rel ref.s >sdas.log 2>&1 && sdld6808 -n -i ref.ihx ref.rel >>sdas.log 2>&1"), 0)
      << Read("sdas.log");
  EXPECT_EQ(FirstDifference(ours, s.ours, IntelHexBytes(Read("ref.ihx"), kOrigin)), "") << "sdas6808";
}

}  // namespace
}  // namespace zarvek::hc05
