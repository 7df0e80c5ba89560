// The editors' helpers: case correction, lexer words, the assembler help list and the
// line normalisation.
#include <gtest/gtest.h>

#include "workspace/asm_help.h"
#include "workspace/asm_normalise.h"
#include "workspace/case_correction.h"
#include "workspace/lexer_words.h"

namespace zarvek::workspace {
namespace {

std::string Corrected(std::string line, size_t caret) {
  if (const auto r = CorrectReservedWord(line, caret)) line.replace(r->start, r->length, r->text);
  return line;
}

TEST(CaseCorrection, ReservedWordsTakeTheirSpelling) {
  EXPECT_EQ(Corrected("gosub", 5), "GoSub");
  EXPECT_EQ(Corrected("  if x then", 4), "  If x then");
  EXPECT_EQ(Corrected("  If x then", 11), "  If x Then");
  EXPECT_EQ(Corrected("x = chr$", 8), "x = Chr$");
  EXPECT_EQ(Corrected("$include", 8), "$INCLUDE");
  EXPECT_EQ(Corrected("dim a as ieeprom", 16), "dim a as iEEPROM");
  // Only the word ending at the caret changes.
  EXPECT_EQ(Corrected("print gosub", 5), "Print gosub");
}

TEST(CaseCorrection, LeavesNamesStringsAndCommentsAlone) {
  EXPECT_FALSE(CorrectReservedWord("zähler", 6));
  EXPECT_FALSE(CorrectReservedWord("GoSub", 5));           // right already
  EXPECT_FALSE(CorrectReservedWord("print \"gosub", 12));  // in a string
  EXPECT_FALSE(CorrectReservedWord("x = 1 ' gosub", 13));  // in a comment
  EXPECT_FALSE(CorrectReservedWord("r.type", 6));          // an element of a structure
  EXPECT_FALSE(CorrectReservedWord("x", 5));               // caret beyond the line
  EXPECT_FALSE(CorrectReservedWord("", 0));
  EXPECT_EQ(Corrected("print \"a\" : gosub", 17), "print \"a\" : GoSub");  // after a closed string
}

TEST(LexerWords, BasicKeywords) {
  EXPECT_EQ(BasicKeywords().size(), 32u);
  for (const char* w : {"IF", "DownTo", "interrupt", "Boolean", "ELSEIF"}) EXPECT_TRUE(IsBasicKeyword(w)) << w;
  for (const char* w : {"print", "word", "ifx", ""}) EXPECT_FALSE(IsBasicKeyword(w)) << w;
}

TEST(LexerWords, AssemblerWordClasses) {
  EXPECT_EQ(AssemblerWordClass("lda"), TAsmWordClass::Mnemonic);
  EXPECT_EQ(AssemblerWordClass("ASLA"), TAsmWordClass::Mnemonic);
  EXPECT_EQ(AssemblerWordClass("equ"), TAsmWordClass::Directive);
  EXPECT_EQ(AssemblerWordClass("DEFINE"), TAsmWordClass::Directive);
  EXPECT_EQ(AssemblerWordClass("start"), TAsmWordClass::None);
  EXPECT_EQ(AssemblerDirectives().size(), 8u);
}

const std::vector<hc05::TAsmSymbol> kSymbols = {
    {"Warte", "300", 3, hc05::asmsymbol::Label},
    {"Anfang", "257", 0, hc05::asmsymbol::Label},
    {"MAXWERT", "#5", 1, hc05::asmsymbol::Constant},
    {"PORTA", "0", 2, hc05::asmsymbol::Constant},
};

std::vector<std::string> Texts(const std::vector<THelpEntry>& list) {
  std::vector<std::string> t;
  for (const THelpEntry& e : list) t.push_back(EntryString(e));
  return t;
}

TEST(AssemblerHelp, ReservedNamesWithTwoLines) {
  const auto list = AssemblerHelp(" ls", 3, kSymbols);
  ASSERT_EQ(list.size(), 6u);  // LSL LSLA LSLX LSR LSRA LSRX
  EXPECT_EQ(list[0].text, "LSL   C <- (M) <- 0");
  EXPECT_EQ(list[0].detail, "logical shift left");
  EXPECT_EQ(list[0].insert, "LSL");
  EXPECT_TRUE(list[0].replacesWord);
  EXPECT_EQ(HelpWordStart(" ls", 3), 1u);
  EXPECT_EQ(HelpWordStart(" lda #ma", 8), 6u);
  EXPECT_EQ(HelpWordStart(" lda ", 5), 5u);
  const auto nop = AssemblerHelp("\tNO", 3, kSymbols);
  ASSERT_EQ(nop.size(), 1u);
  EXPECT_EQ(nop[0].text, "NOP");  // no formula
  EXPECT_EQ(nop[0].detail, "no operation");
  EXPECT_TRUE(AssemblerHelp(" xyz", 4, kSymbols).empty());
  EXPECT_TRUE(AssemblerHelp("lda", 3, kSymbols).empty());  // column 1 is a label
}

TEST(AssemblerHelp, OperandProposalsByClass) {
  EXPECT_EQ(Texts(AssemblerHelp(" LDA ", 5, kSymbols)),
            (std::vector<std::string>{"d (#Const)", "d (MEMORY Address) ... RAM = $50...$FF", "dx (Offset Indexregister)",
                                      "eAnfang", "eMAXWERT", "ePORTA", "eWarte"}));
  // A typed beginning narrows the symbols.
  EXPECT_EQ(Texts(AssemblerHelp(" lda #ma", 8, kSymbols)),
            (std::vector<std::string>{"d (#Const)", "d (MEMORY Address) ... RAM = $50...$FF", "dx (Offset Indexregister)",
                                      "eMAXWERT"}));
  EXPECT_EQ(Texts(AssemblerHelp(" BRA ", 5, kSymbols)), (std::vector<std::string>{" (Label)", "eAnfang", "eWarte"}));
  const auto forms = AssemblerHelp(" LDA ", 5, kSymbols);
  EXPECT_EQ(forms[0].insert, "#");
  EXPECT_FALSE(forms[0].replacesWord);
  EXPECT_TRUE(forms.back().replacesWord);  // a symbol replaces what was typed of it
  const auto bits = Texts(AssemblerHelp(" BSET ", 6, kSymbols));
  ASSERT_EQ(bits.size(), 11u);
  EXPECT_EQ(bits[0], " 0 bit");
  EXPECT_EQ(bits[7], " 7 bit");
  EXPECT_EQ(bits[8], "f (MEMORY Address)");
  EXPECT_EQ(Texts(AssemblerHelp(" DB ", 4, {})),
            (std::vector<std::string>{"d (#Const)", "d\"string\" ", "d'string' "}));
  EXPECT_TRUE(AssemblerHelp(" NOP ", 5, kSymbols).empty());
  // Comments and strings get no help.
  EXPECT_TRUE(AssemblerHelp(" LDA #1 ; l", 11, kSymbols).empty());
  EXPECT_TRUE(AssemblerHelp("* LDA", 5, kSymbols).empty());
  EXPECT_TRUE(AssemblerHelp(" DB \"ab", 7, kSymbols).empty());
}

TEST(AssemblerNormalise, RewritesWordsOutsideStringsAndComments) {
  std::vector<Tlabel> basic(1);
  basic[0].name = "Zähler";
  const std::vector<hc05::TAsmSymbol> symbols = {{"Warte", "300", 3, hc05::asmsymbol::Label},
                                                 {"MaxWert", "#5", 1, hc05::asmsymbol::Constant}};
  auto norm = [&](const std::string& line) { return NormaliseAssemblerLine(line, basic, symbols); };
  EXPECT_EQ(norm("warte: lda zähler+1,x ; lda warte"), "Warte: LDA Zähler+1,x ; lda warte");
  EXPECT_EQ(norm("\tbne warte"), "\tBNE Warte");
  EXPECT_EQ(norm(" db \"lda warte\""), " DB \"lda warte\"");
  EXPECT_EQ(norm(" db 'nop'"), " DB 'nop'");  // single-quoted strings keep their content too
  EXPECT_EQ(norm("* lda warte"), "* lda warte");
  // An EQU line defines a symbol: assembler symbols keep the spelling written there.
  EXPECT_EQ(norm("maxwert equ 5"), "maxwert EQU 5");
  EXPECT_EQ(norm(" lda maxwert"), " LDA MaxWert");
  EXPECT_EQ(norm(""), "");
  EXPECT_EQ(norm(" brset 3,porta.2,warte"), " BRSET 3,porta.2,Warte");
}

}  // namespace
}  // namespace zarvek::workspace

namespace zarvek::workspace {
namespace {

TEST(AssemblerNormalise, WhenTheLineIsRewritten) {
  EXPECT_TRUE(NormaliseLeftLine(false, TCaretKey::Enter, 3, 3));
  EXPECT_TRUE(NormaliseLeftLine(false, TCaretKey::PageDown, 3, 3));
  EXPECT_TRUE(NormaliseLeftLine(false, TCaretKey::Other, 3, 4));  // a click on another line
  EXPECT_FALSE(NormaliseLeftLine(false, TCaretKey::Other, 3, 3));
  EXPECT_FALSE(NormaliseLeftLine(true, TCaretKey::Up, 3, 2));  // never while a simulation runs
}

TEST(BasicKeywordHelp, ReservedWordsWithThePrefix) {
  EXPECT_EQ(BasicKeywordHelp("  x = ke", 8), (std::vector<std::string>{"Key", "KeyCount", "KeyInterrupt"}));
  EXPECT_EQ(BasicKeywordHelp("str", 3), (std::vector<std::string>{"Str", "Str$", "String"}));
  EXPECT_TRUE(BasicKeywordHelp("x = ", 4).empty());
  EXPECT_TRUE(BasicKeywordHelp("' ke", 4).empty());
  EXPECT_TRUE(BasicKeywordHelp("zzz", 3).empty());
}

}  // namespace
}  // namespace zarvek::workspace
