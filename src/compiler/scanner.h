// The scanner: statement compilers read the merged source directly through these
// operations, which move the position and keep the error position at the start of what
// was read last.
#pragma once

#include <string>

#include "compiler/compiler_context.h"

namespace zarvek {

bool IsBlank(char c);       // blank or TAB
bool IsLineEnd(char c);     // CR or LF
bool IsNameChar(char c);

void SkipBlanks(TCompilerContext& c);
// Moves to the next CR or LF (the position ends on it).
void SkipLine(TCompilerContext& c);
// The statement word; empty at a line end, a lone ":" or a lone "=".
std::string ReadWord(TCompilerContext& c);
// Name characters after blanks; may be empty.
std::string ReadName(TCompilerContext& c);

enum class TIdentifierVariant { Plain, String, Procedure };
// A name that must follow the identifier rule (a final "$" allowed in the String
// variant); skips the blanks after it. Empty after an error.
std::string ReadIdentifier(TCompilerContext& c, TIdentifierVariant variant = TIdentifierVariant::Plain);
// After blanks, `ch` must follow (107 with it otherwise); it is consumed. False after an
// error.
bool ExpectChar(TCompilerContext& c, char ch);
// Whether the statement ends here: blanks and then a comment, the line end, a ":" or the
// ELSE of a one-line IF.
bool AtStatementEnd(const TCompilerContext& c);
// After a statement: the next word must be empty or ELSE (109 otherwise); the position
// is restored.
void ExpectEnd(TCompilerContext& c);

}  // namespace zarvek
