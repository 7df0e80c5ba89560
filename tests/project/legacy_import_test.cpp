// The legacy ".CPO" import: every optional tail, and files that are cut off or foreign.
#include <gtest/gtest.h>

#include "project/legacy_import.h"
#include "temp_folder.h"

namespace zarvek::test {
namespace {

std::string Number(uint32_t value, int bytes) {
  std::string s;
  for (int k = bytes - 1; k >= 0; --k) s += static_cast<char>((value >> (8 * k)) & 0xFF);
  return s;
}

std::string Field(const std::string& text, size_t width) { return (text + std::string(width, ' ')).substr(0, width); }

std::string Record(uint16_t type, const std::string& name, const std::string& slot0 = "", uint8_t kind0 = 0) {
  std::string r = Number(type, 2) + Number(type == 1 ? 0 : 6, 2) + Field(name, 32);
  r += Field(slot0, 16) + static_cast<char>(kind0);
  for (int s = 1; s < 18; ++s) r += std::string(16, '\0') + '\0';
  return r;
}

std::string Legacy(const std::vector<std::string>& records, const std::string& assembler, const std::string& basic,
                   const std::string& tail = "") {
  std::string b = std::string("tsprojectfile10\x1B", 16) + Number(static_cast<uint32_t>(assembler.size()), 3) +
                  Number(static_cast<uint32_t>(basic.size()), 3) + Number(static_cast<uint32_t>(records.size()), 3);
  for (const std::string& r : records) b += r;
  return b + assembler + basic + tail;
}

bool Read(const std::string& bytes, TProject& p, std::vector<TObjectNode>* nodes = nullptr) {
  std::vector<TObjectNode> ignored;
  return ReadLegacyProject(bytes, p, nodes ? *nodes : ignored);
}

TEST(LegacyImport, ReadsObjectsTextsProfileAndBreakpoints) {
  std::vector<std::string> records(22, Record(0, ""));
  records[1] = Record(1, "  Lampe  ", " 3 ", 1);
  records[21] = Record(4, "Taster");
  const std::string tail = "\x04" + Number(1, 2) + Number(0, 2) + Number(12, 2) + Number(40, 2) + Number(7, 2);
  TProject p;
  std::vector<TObjectNode> nodes;
  ASSERT_TRUE(Read(Legacy(records, " NOP\r\n", "PRINT 1\r\n", tail), p, &nodes));
  EXPECT_EQ(p.assemblerSource, " NOP\r\n");
  EXPECT_EQ(p.basicSource, "PRINT 1\r\n");
  EXPECT_EQ(p.profile, profile::Pyxon32);
  EXPECT_EQ(p.basicBreakpoints, (std::vector<int32_t>{12, 40}));
  EXPECT_EQ(p.assemblerBreakpoints, (std::vector<int32_t>{7}));
  EXPECT_EQ(p.At(1, 0).name, "Lampe");
  EXPECT_EQ(p.At(1, 0).slots[0], (TObjectSlot{"3", 1}));
  EXPECT_EQ(p.At(1, 1).type, 4);  // record 21: x = 21 mod 20, y = 21 div 20
  EXPECT_EQ(nodes, (std::vector<TObjectNode>{{"Lampe", 32, 1, 0}, {"Taster", 35, 1, 1}}));
}

TEST(LegacyImport, TheTailIsOptionalPieceByPiece) {
  const std::string base = Legacy({}, "a", "b");
  TProject p;
  p.profile = profile::Pyxon128;
  ASSERT_TRUE(Read(base, p));  // ends after the texts: the profile stays
  EXPECT_EQ(p.profile, profile::Pyxon128);
  ASSERT_TRUE(Read(base + "\x03" + "1234", p));  // fewer than six bytes: no breakpoints
  EXPECT_EQ(p.profile, profile::Tessel20);
  EXPECT_TRUE(p.basicBreakpoints.empty());
  ASSERT_TRUE(Read(base + "\x02", p));  // no board has profile 2
  EXPECT_EQ(p.profile, profile::Tessel11);
  // Breakpoint lists cut off by the end of the file keep the lines that are there.
  ASSERT_TRUE(Read(base + "\x01" + Number(2, 2) + Number(1, 2) + Number(5, 2) + std::string(1, '\0'), p));
  EXPECT_EQ(p.basicBreakpoints, (std::vector<int32_t>{5}));
  EXPECT_TRUE(p.assemblerBreakpoints.empty());
}

TEST(LegacyImport, ForeignAndCutOffFilesAreRefused) {
  TProject p;
  p.basicSource = "mine";
  const std::string whole = Legacy({Record(1, "x")}, "asm", "basic");
  for (const std::string& bad : {std::string(""), std::string("tsprojectfile10\x1B", 16), whole.substr(0, 25),
                                 "TSPROJECTFILE10" + whole.substr(15), whole.substr(0, whole.size() - 1),
                                 whole.substr(0, 100)}) {
    EXPECT_FALSE(Read(bad, p));
    EXPECT_EQ(p.basicSource, "mine");
  }
  // Lengths far beyond the file.
  std::string huge = whole;
  huge[22] = huge[23] = huge[24] = '\xFF';
  EXPECT_FALSE(Read(huge, p));
  // Records beyond the 400 cells of the grid have no place.
  std::vector<std::string> many(401, Record(0, ""));
  many[400] = Record(2, "beyond");
  std::vector<TObjectNode> nodes;
  ASSERT_TRUE(Read(Legacy(many, "", ""), p, &nodes));
  EXPECT_TRUE(nodes.empty());
}

class LegacyFile : public TTempFolder {};

TEST_F(LegacyFile, ImportReportsWhatItCannotRead) {
  TProject p;
  TLoadOutcome o = ImportLegacyProject(Write("old.cpo", "not a legacy project"), p);
  EXPECT_EQ(o.result, loadresult::NotAProject);
  EXPECT_EQ(o.message, Path("old.cpo") + " ist keine Projektdatei.");
  EXPECT_EQ(ImportLegacyProject(Path("none.cpo"), p).result, loadresult::NotAProject);
  std::filesystem::create_directory(Path("dir.cpo"));
  EXPECT_EQ(ImportLegacyProject(Path("dir.cpo"), p).result, loadresult::ReadFailed);
  o = ImportLegacyProject(Write("good.cpo", Legacy({}, "", "PRINT 1")), p);
  EXPECT_EQ(o.result, loadresult::Loaded);
  EXPECT_EQ(p.basicSource, "PRINT 1");
}

}  // namespace
}  // namespace zarvek::test
