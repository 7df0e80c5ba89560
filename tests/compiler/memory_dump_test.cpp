// The token view's memory dump: which maps it shows, under which headers, and that the
// bytes the allocation handed out show in them.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <vector>

#include "compile_helpers.h"

namespace zarvek::test {
namespace {

TCompileResult CompileWithDump(const std::string& source, TProfile profile) {
  TCompiler compiler;
  TCompileInput input = Input(source, profile);
  input.memoryDump = true;
  return compiler.CompileProgram(input);
}

std::vector<std::string> SplitCrLf(const std::string& text) {
  std::vector<std::string> lines;
  size_t from = 0;
  for (size_t at; (at = text.find("\r\n", from)) != std::string::npos; from = at + 2) lines.push_back(text.substr(from, at - from));
  lines.push_back(text.substr(from));
  return lines;
}

// A line of bytes: each number followed by one blank.
std::vector<int> Numbers(const std::string& line) {
  std::vector<int> values;
  std::istringstream in(line);
  for (int v; in >> v;) values.push_back(v);
  return values;
}

const std::string kProgram = Lines({
    "DIM g AS BYTE",
    "DIM e AS WORD XEEPROM",
    "SUB Rechne(a AS BYTE)",
    "  DIM lokal AS INTEGER",
    "  lokal = a + g",
    "END SUB",
    "SUB Leer()",
    "  DIM b AS BOOLEAN",
    "  b = 1",
    "END SUB",
    "g = 3",
    "CALL Rechne(g)",
    "CALL Leer()",
});

TEST(MemoryDump, PyxonShowsEveryMapUnderItsHeader) {
  const TCompileResult r = CompileWithDump(kProgram, profile::Pyxon32);
  ASSERT_TRUE(r.success) << Describe(r);
  const std::vector<std::string> lines = SplitCrLf(r.memoryDump);
  ASSERT_EQ(lines.size(), 11u) << r.memoryDump.substr(0, 200);
  EXPECT_EQ(lines[0], "---- globaler Variablen Speicher ---");
  EXPECT_EQ(lines[2], " - Extern EEPROM - ");
  EXPECT_EQ(lines[4], " - Intern EEPROM - ");
  EXPECT_EQ(lines[6], "--- lokaler Variablen Speicher ---");  // once, before the first procedure
  EXPECT_EQ(lines[7], "  Prozedur Rechne");
  EXPECT_EQ(lines[9], "  Prozedur Leer");
  for (size_t k : {1u, 3u, 5u, 8u, 10u}) {
    EXPECT_EQ(Numbers(lines[k]).size(), 1000u) << "line " << k;
    EXPECT_EQ(lines[k].back(), ' ') << "line " << k;
  }
  // The allocated bytes: g in global memory, the word e in the external EEPROM, the
  // procedures' parameters and locals in their own maps; the internal EEPROM is unused.
  EXPECT_EQ(Numbers(lines[1])[0], 255);
  EXPECT_EQ(Numbers(lines[1])[1], 0);
  EXPECT_EQ(Numbers(lines[3])[0], 255);
  EXPECT_EQ(Numbers(lines[3])[1], 255);
  const std::vector<int> intern = Numbers(lines[5]);
  EXPECT_TRUE(std::all_of(intern.begin(), intern.end(), [](int v) { return v == 0; }));
  const std::vector<int> rechne = Numbers(lines[8]);
  EXPECT_EQ(std::count(rechne.begin(), rechne.end(), 255), 3);  // a byte and an integer
  EXPECT_EQ(Numbers(lines[10])[0], 1);  // one bit of a byte
}

TEST(MemoryDump, TesselHasOnlyTheHeaderAndNothingIsDumpedUnasked) {
  const TCompileResult tessel =
      CompileWithDump(Lines({"DIM g AS BYTE", "SUB Rechne(a AS BYTE)", "  g = a", "END SUB", "CALL Rechne(1)"}),
                      profile::Tessel11);
  ASSERT_TRUE(tessel.success) << Describe(tessel);
  EXPECT_EQ(tessel.memoryDump, "---- globaler Variablen Speicher ---\r\n");
  EXPECT_EQ(Compile(kProgram, profile::Pyxon32).memoryDump, "");
}

TEST(MemoryDump, LeftOutForImagesOf6000BytesOrMore) {
  // Inline bytes make the image exactly as long as wanted: the code, END, a filler byte
  // when 4 + the length would be odd.
  const auto program = [](size_t codeBytes) {
    std::string text;
    for (size_t k = 0; k < codeBytes; ++k) text += (k % 100 == 0 ? (k ? "\r\n$ 7" : "$ 7") : ", 7");
    return text + "\r\n";
  };
  const TCompileResult shorter = CompileWithDump(program(5997), profile::Pyxon32);
  ASSERT_TRUE(shorter.success) << Describe(shorter);
  ASSERT_EQ(shorter.image.size(), 5998u);
  EXPECT_TRUE(shorter.memoryDump.starts_with("---- globaler Variablen Speicher ---\r\n"));
  const TCompileResult limit = CompileWithDump(program(5999), profile::Pyxon32);
  ASSERT_TRUE(limit.success) << Describe(limit);
  ASSERT_EQ(limit.image.size(), 6000u);
  EXPECT_EQ(limit.memoryDump, "");
}

TEST(MemoryDump, AFailedCompileStillShowsHowFarTheAllocationGot) {
  const TCompileResult r = CompileWithDump(Lines({"DIM g AS BYTE", "goto nirgends"}), profile::Pyxon128);
  ASSERT_FALSE(r.success);
  ASSERT_TRUE(r.memoryDump.starts_with("---- globaler Variablen Speicher ---\r\n255 0 "));
  EXPECT_EQ(r.memoryDump.find("Prozedur"), std::string::npos);
}

}  // namespace
}  // namespace zarvek::test
