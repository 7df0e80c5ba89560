// The import command's texts.
#include <gtest/gtest.h>

#include "workspace/import_text.h"

namespace zarvek::workspace {
namespace {

TEST(ImportText, KindByExtension) {
  EXPECT_EQ(ImportKindOf("/p/a.s19"), TImportKind::SRecords);
  EXPECT_EQ(ImportKindOf("/p/a.S19"), TImportKind::SRecords);
  EXPECT_EQ(ImportKindOf("/p/alt.Cpo"), TImportKind::LegacyProject);
  EXPECT_EQ(ImportKindOf("/p/code.bin"), TImportKind::Binary);
  EXPECT_EQ(ImportKindOf("/p/code"), TImportKind::Binary);
}

TEST(ImportText, RawCodeStartsAt0x101) {
  const std::string text = DisassemblyText(TImportKind::Binary, std::string("\x9D\x81", 2));  // NOP, RTS
  EXPECT_NE(text.find("NOP"), std::string::npos);
  EXPECT_NE(text.find("RTS"), std::string::npos);
  EXPECT_TRUE(text.ends_with("\r\n"));
  EXPECT_NE(DisassemblyText(TImportKind::Binary, "").find("ORG   0101h"), std::string::npos);
}

TEST(ImportText, SRecords) {
  // One S1 record at 0x0101 holding NOP.
  const std::string text = DisassemblyText(TImportKind::SRecords, "S10401019D5C\r\nS9030000FC\r\n");
  EXPECT_NE(text.find("NOP"), std::string::npos);
  EXPECT_TRUE(DisassemblyText(TImportKind::SRecords, "kein S-Record").starts_with("ERROR!"));
}

TEST(ImportText, AppendedOnALineOfItsOwn) {
  EXPECT_EQ(AppendText("", " NOP\r\n"), " NOP\r\n");
  EXPECT_EQ(AppendText(" LDA #1", " NOP\r\n"), " LDA #1\r\n NOP\r\n");
  EXPECT_EQ(AppendText(" LDA #1\r\n", " NOP\r\n"), " LDA #1\r\n NOP\r\n");
}

}  // namespace
}  // namespace zarvek::workspace
