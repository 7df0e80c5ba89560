// Comment, indent and align over the lines of a selection.
#include <gtest/gtest.h>

#include "workspace/editing_aids.h"

namespace zarvek::workspace {
namespace {

using TLines = std::vector<std::string>;

TEST(EditingAids, CommentAndUncomment) {
  TLines lines{"x = 1", "", "  y = 2"};
  CommentLines(lines, kBasicComment);
  EXPECT_EQ(lines, (TLines{"'x = 1", "", "'  y = 2"}));
  UncommentLines(lines, kBasicComment);
  EXPECT_EQ(lines, (TLines{"x = 1", "", "  y = 2"}));
  TLines asmLines{"  ; nop", " lda #1 ; load"};
  UncommentLines(asmLines, kAssemblerComment);
  EXPECT_EQ(asmLines, (TLines{"   nop", " lda #1 ; load"}));  // only a mark at the start goes
}

TEST(EditingAids, IndentAndAlign) {
  TLines lines{"a", "", " b", "\tc"};
  IndentRight(lines);
  EXPECT_EQ(lines, (TLines{"  a", "", "   b", "  \tc"}));
  IndentLeft(lines);
  EXPECT_EQ(lines, (TLines{"a", "", " b", "\tc"}));
  IndentLeft(lines);
  EXPECT_EQ(lines, (TLines{"a", "", "b", "c"}));
  TLines ragged{"", "    FOR i = 1 TO 3", "x = i", "        PRINT x", "  "};
  AlignLines(ragged);
  EXPECT_EQ(ragged, (TLines{"", "    FOR i = 1 TO 3", "    x = i", "    PRINT x", "  "}));
}

}  // namespace
}  // namespace zarvek::workspace
