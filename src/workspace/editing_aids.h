// The editing aids of the edit menu, over the lines a selection touches (cp1252, without
// their line ends): comment out, remove comments, indent left and right, align.
#pragma once

#include <string>
#include <vector>

namespace zarvek::workspace {

// The comment mark of a part: "'" for BASIC, ";" for assembler.
inline constexpr char kBasicComment = '\'';
inline constexpr char kAssemblerComment = ';';
inline constexpr int kIndentWidth = 2;

// Puts the mark before every line that is not empty.
void CommentLines(std::vector<std::string>& lines, char mark);
// Removes one mark at the start of each line (after its indentation).
void UncommentLines(std::vector<std::string>& lines, char mark);
// Removes up to kIndentWidth blanks (a TAB counts as enough) from each line's start.
void IndentLeft(std::vector<std::string>& lines);
// Puts kIndentWidth blanks before every line that is not empty.
void IndentRight(std::vector<std::string>& lines);
// Every line that is not empty takes the indentation of the first such line.
void AlignLines(std::vector<std::string>& lines);

}  // namespace zarvek::workspace
