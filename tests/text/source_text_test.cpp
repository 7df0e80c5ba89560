// Source files in UTF-8 or cp1252: which are converted, and where a character cp1252
// lacks is reported.
#include <gtest/gtest.h>

#include "text/cp1252.h"
#include "text/source_text.h"

namespace zarvek {
namespace {

TEST(SourceText, Utf8WithNonAsciiBytesOrAMarkIsConverted) {
  TSourceText s = DecodeSourceFile("PRINT \"Grüße\"\r\n");
  EXPECT_TRUE(s.fromUtf8);
  EXPECT_EQ(s.cp1252, "PRINT \"Gr\xFC\xDF" "e\"\r\n");
  s = DecodeSourceFile("\xEF\xBB\xBFPRINT 1\n");
  EXPECT_TRUE(s.fromUtf8);
  EXPECT_EQ(s.cp1252, "PRINT 1\n");
  s = DecodeSourceFile("\xEF\xBB\xBF€ ‚ Ÿ");
  EXPECT_EQ(s.cp1252, "\x80 \x82 \x9F");
}

TEST(SourceText, AsciiAndFilesThatAreNoUtf8StayAsTheyAre) {
  for (const std::string& bytes : {std::string("PRINT 1\r\n"), std::string("PRINT \"Gr\xFC\xDF" "e\""),
                                   std::string("\xC3\x28"), std::string("\xE0\x80\xAF"),  // broken, overlong
                                   std::string("\xED\xA0\x80"), std::string("\xC3")}) {  // surrogate, cut off
    const TSourceText s = DecodeSourceFile(bytes);
    EXPECT_FALSE(s.fromUtf8) << bytes;
    EXPECT_EQ(s.cp1252, bytes);
    EXPECT_FALSE(s.unmappable);
  }
  EXPECT_FALSE(IsValidUtf8("\xF4\x90\x80\x80"));  // beyond U+10FFFF
  EXPECT_TRUE(IsValidUtf8("\xEF\xBF\xBD"));       // U+FFFD written out
}

TEST(SourceText, ACharacterCp1252LacksIsReportedAtItsLineAndColumn) {
  // Line ends of every kind count once; columns count characters, not bytes, and the
  // byte-order mark is not one of them.
  for (const std::string& end : {std::string("\r\n"), std::string("\n"), std::string("\r")}) {
    const TSourceText s = DecodeSourceFile("\xEF\xBB\xBF' Grüße" + end + end + "PRINT \"ä→\"" + end);
    ASSERT_TRUE(s.unmappable);
    EXPECT_EQ(s.unmappable->line, 3);
    EXPECT_EQ(s.unmappable->column, 9);
    EXPECT_EQ(s.unmappable->codePoint, U'→');
    EXPECT_EQ(s.unmappable->utf8, "→");
    EXPECT_TRUE(s.cp1252.empty());
  }
  EXPECT_EQ(CodePointName(U'→'), "U+2192");
  EXPECT_EQ(CodePointName(U'😀'), "U+1F600");
}

}  // namespace
}  // namespace zarvek
