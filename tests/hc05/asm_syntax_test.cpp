// The assembler's building blocks: reserved names, line splitting, numbers, expressions
// and messages.
#include <gtest/gtest.h>

#include <algorithm>

#include "hc05/asm_expression.h"
#include "hc05/asm_line.h"
#include "hc05/asm_messages.h"
#include "hc05/asm_reserved.h"
#include "hc05/opcodes.h"

namespace zarvek::hc05 {
namespace {

uint8_t ExpectedClass(const TMnemonic& m) {
  if (m.OpcodeFor(TMode::Inherent) >= 0) return asmclass::Inherent;
  if (m.OpcodeFor(TMode::Relative) >= 0) return asmclass::Branch;
  if (m.OpcodeFor(TMode::BitSetClear) >= 0) return asmclass::BitSet;
  if (m.OpcodeFor(TMode::BitTestBranch) >= 0) return asmclass::BitBranch;
  if (m.OpcodeFor(TMode::Immediate) >= 0) return asmclass::Arithmetic;
  if (m.OpcodeFor(TMode::Extended) < 0) return asmclass::ReadModify;
  return m.name.starts_with('J') ? asmclass::Jump : asmclass::Store;
}

TEST(AsmReserved, EveryMnemonicAndDirectiveOnceWithItsClassAndHelp) {
  const auto names = ReservedNames();
  ASSERT_EQ(names.size(), 97u);
  EXPECT_TRUE(std::is_sorted(names.begin(), names.end(), [](auto& a, auto& b) { return a.name < b.name; }));
  for (const TMnemonic& m : AllMnemonics()) {
    const TReservedName* r = FindReserved(m.name);
    ASSERT_NE(r, nullptr) << m.name;
    EXPECT_EQ(r->cls, ExpectedClass(m)) << m.name;
  }
  const std::pair<std::string_view, uint8_t> directives[] = {{"DB", 7}, {"DEFINE", 1}, {"DW", 8}, {"ELSE", 1},
                                                             {"END", 1}, {"EQU", 8},   {"IF", 9}, {"ORG", 4}};
  for (auto [name, cls] : directives) EXPECT_EQ(FindReserved(name)->cls, cls) << name;
  for (const TReservedName& r : names) {
    const size_t lineBreak = r.help.find('\n');
    ASSERT_NE(lineBreak, std::string_view::npos) << r.name;
    EXPECT_GT(r.help.size(), lineBreak + 1) << r.name << " has no description";
  }
  EXPECT_EQ(FindReserved("ADC")->help, "A = A + .C + (M)\nAdd with carry");
  EXPECT_EQ(FindReserved("SWI")->help, "store PC, X, A, CCR   PC = ($xFFC:$xFFD)\nsoftware interrupt");
  EXPECT_EQ(FindReserved("ORG")->help, "\nprogram originates in RAM");
  EXPECT_EQ(FindReserved("lda"), nullptr);
  EXPECT_EQ(FindReserved("LD"), nullptr);
}

TEST(AsmReserved, PrefixSearchForTheHelpList) {
  std::vector<std::string_view> found;
  for (const TReservedName& r : ReservedWithPrefix("BR")) found.push_back(r.name);
  EXPECT_EQ(found, (std::vector<std::string_view>{"BRA", "BRCLR", "BRN", "BRSET"}));
  EXPECT_EQ(ReservedWithPrefix("").size(), 97u);
  EXPECT_EQ(ReservedWithPrefix("DEFINE").size(), 1u);
  EXPECT_TRUE(ReservedWithPrefix("Q").empty());
  EXPECT_TRUE(ReservedWithPrefix("ZZZ").empty());
}

TEST(AsmLineSplitting, FieldsAndTheirColumns) {
  const TAsmLine l = SplitAsmLine("loop:  LDA  # $10 + 1 , X ; load");
  EXPECT_EQ(l.label.text, "loop");
  EXPECT_TRUE(l.labelColon);
  EXPECT_EQ(l.mnemonic.text, "LDA");
  EXPECT_EQ(l.mnemonic.column, 8);
  ASSERT_EQ(l.operands.size(), 2u);
  EXPECT_EQ(l.operands[0].text, "#$10+1");
  EXPECT_EQ(l.operands[0].column, 13);
  EXPECT_EQ(l.operands[1].text, "X");
  EXPECT_EQ(l.operands[1].column, 25);
  EXPECT_EQ(l.comment, " load");

  const TAsmLine noLabel = SplitAsmLine("\tNOP");
  EXPECT_FALSE(noLabel.HasLabel());
  EXPECT_EQ(noLabel.mnemonic.text, "NOP");
  EXPECT_TRUE(noLabel.operands.empty());
  EXPECT_EQ(SplitAsmLine("A:NOP").mnemonic.text, "NOP");
  EXPECT_EQ(SplitAsmLine("only").label.text, "only");
  EXPECT_TRUE(SplitAsmLine("* LDA #1").commentLine);
  EXPECT_TRUE(SplitAsmLine("; LDA #1").mnemonic.text.empty());
  EXPECT_TRUE(SplitAsmLine("").mnemonic.text.empty());
}

TEST(AsmLineSplitting, StringsKeepCommasSemicolonsAndBlanks) {
  const TAsmLine l = SplitAsmLine(" DB \"a; b,  c\" ; note, with comma");
  ASSERT_EQ(l.operands.size(), 1u);
  EXPECT_EQ(l.operands[0].text, "\"a; b,  c\"");
  EXPECT_EQ(l.comment, " note, with comma");
  EXPECT_EQ(SplitAsmLine(" DB 'it''s'").operands[0].text, "'it''s'");
  EXPECT_EQ(AsmStringValue("'it''s'"), "it's");
  EXPECT_EQ(AsmStringValue("\"A\"\"B\""), "A\"B");
  EXPECT_EQ(AsmStringValue("\"\""), "");
  EXPECT_EQ(AsmStringValue("\"abc"), std::nullopt);
  EXPECT_EQ(AsmStringValue("\"ab'"), std::nullopt);
  EXPECT_EQ(AsmStringValue("\"a\"b"), std::nullopt);
  EXPECT_EQ(AsmStringValue("'ab''"), std::nullopt);
  // Blanks between two words stay (one of them), so "1 2" is no number.
  EXPECT_EQ(SplitAsmLine(" LDA 1   2").operands[0].text, "1 2");
  const TAsmLine empties = SplitAsmLine(" LDA ,");
  ASSERT_EQ(empties.operands.size(), 2u);
  EXPECT_EQ(empties.operands[0].text, "");
}

TEST(AsmNumbers, BasesDigitLimitsAndSigns) {
  for (const char* t : {"12H", "$12", "%00010010", "10010B", "@22", "18", "0012h", " 18 "}) {
    const TAsmNumber n = ParseAsmNumber(t);
    EXPECT_EQ(n.status, TAsmNumber::TStatus::Ok) << t;
    EXPECT_EQ(n.value, 18) << t;
  }
  EXPECT_EQ(ParseAsmNumber("$FFFF").value, 65535);
  EXPECT_EQ(ParseAsmNumber("$0000FFFF").value, 65535);  // leading zeros do not count
  EXPECT_EQ(ParseAsmNumber("99999").value, 99999);
  EXPECT_EQ(ParseAsmNumber("@7777777").value, 2097151);
  EXPECT_EQ(ParseAsmNumber("%1111111111111111").value, 65535);
  for (const char* t : {"$12345", "123456", "@17777777", "%11111111111111111", "10000H"}) {
    EXPECT_EQ(ParseAsmNumber(t).status, TAsmNumber::TStatus::TooLarge) << t;
  }
  // The suffix forms may begin with a letter digit, as the disassembler writes them.
  EXPECT_EQ(ParseAsmNumber("FFH").value, 255);
  EXPECT_EQ(ParseAsmNumber("ACh").value, 172);
  for (const char* t : {"$12G", "19B", "@8", "1E", "$", "%", "H", "B", "AGH", "", "#", "-"}) {
    EXPECT_EQ(ParseAsmNumber(t).status, TAsmNumber::TStatus::NotNumber) << t;
  }
  EXPECT_EQ(ParseAsmNumber("0" + std::string(159, '0') + "1").status, TAsmNumber::TStatus::NotNumber);
  EXPECT_EQ(ParseAsmNumber(std::string(159, '0') + "1").value, 1);
  const TAsmNumber imm = ParseAsmNumber("#-$10");
  EXPECT_TRUE(imm.immediate);
  EXPECT_EQ(imm.value, -16);
}

int32_t Eval(std::string_view text) {
  const TEvalResult r = EvaluateAsmExpression(text);
  EXPECT_EQ(r.failure, TEvalFailure::None) << text;
  return r.value;
}

TEvalFailure EvalFailure(std::string_view text) { return EvaluateAsmExpression(text).failure; }

TEST(AsmExpressions, EachOperatorIsItsOwnLevelInAFixedOrder) {
  EXPECT_EQ(Eval("(1+2)*3"), 9);
  EXPECT_EQ(Eval("1+2*3"), 7);
  EXPECT_EQ(Eval("2*3&1"), 2);  // & before *
  EXPECT_EQ(Eval("8-2+1"), 7);  // - before +
  EXPECT_EQ(Eval("8/2*2"), 2);  // * before /
  EXPECT_EQ(Eval("7\\4"), 3);
  EXPECT_EQ(Eval("6|1^3"), 4);  // | before ^
  EXPECT_EQ(Eval("1-2-3"), -4);
  EXPECT_EQ(Eval("-3*-2"), 6);
  EXPECT_EQ(Eval("5--3"), 8);
  EXPECT_EQ(Eval("5-(0-3)"), 8);
  EXPECT_EQ(Eval("!0+!5"), 1);
  EXPECT_EQ(Eval("~0"), -1);
  EXPECT_EQ(Eval("!!7"), 1);
  EXPECT_EQ(Eval("((((2))))"), 2);
}

TEST(AsmExpressions, ComparisonsAndLogicalOperators) {
  EXPECT_EQ(Eval("3=3"), 1);
  EXPECT_EQ(Eval("3==4"), 0);
  EXPECT_EQ(Eval("3<>4"), 1);
  EXPECT_EQ(Eval("3!=3"), 0);
  EXPECT_EQ(Eval("3<4"), 1);
  EXPECT_EQ(Eval("4<=4"), 1);
  EXPECT_EQ(Eval("4=<3"), 0);
  EXPECT_EQ(Eval("5>4"), 1);
  EXPECT_EQ(Eval("4>=5"), 0);
  EXPECT_EQ(Eval("5=>5"), 1);
  EXPECT_EQ(Eval("1&&2"), 1);
  EXPECT_EQ(Eval("1&&0"), 0);
  EXPECT_EQ(Eval("65536&&65536"), 1);  // no product that overflows to 0
  EXPECT_EQ(Eval("0||0"), 0);
  EXPECT_EQ(Eval("-1||0"), 1);  // any operand not 0, not a positive sum
  EXPECT_EQ(Eval("1<2&&3<4"), 1);
  EXPECT_EQ(Eval("2147483647+1"), -2147483647 - 1);  // 32-bit wrap
}

TEST(AsmExpressions, FailuresAreClassified) {
  EXPECT_EQ(EvalFailure("(1+2"), TEvalFailure::MissingBracket);
  EXPECT_EQ(EvaluateAsmExpression("(1+2").missingBracket, ')');
  EXPECT_EQ(EvaluateAsmExpression("1+2)").missingBracket, '(');
  EXPECT_EQ(EvalFailure("5+"), TEvalFailure::NoOperand);
  EXPECT_EQ(EvalFailure("*5"), TEvalFailure::NoOperand);
  EXPECT_EQ(EvalFailure("5*/2"), TEvalFailure::NoOperand);
  EXPECT_EQ(EvalFailure("()"), TEvalFailure::NoOperand);
  EXPECT_EQ(EvalFailure(""), TEvalFailure::NoOperand);
  EXPECT_EQ(EvalFailure("5+X"), TEvalFailure::IndexRegister);
  EXPECT_EQ(EvalFailure("5/0"), TEvalFailure::DivisionByZero);
  EXPECT_EQ(EvalFailure("5\\(1-1)"), TEvalFailure::DivisionByZero);
  EXPECT_EQ(EvalFailure("123456789012"), TEvalFailure::TooLarge);
  EXPECT_EQ(EvalFailure("1 2"), TEvalFailure::Other);
  EXPECT_EQ(EvalFailure("(1)(2)"), TEvalFailure::Other);
  EXPECT_EQ(EvalFailure("5!3"), TEvalFailure::Other);
  EXPECT_EQ(EvalFailure("?+1"), TEvalFailure::Other);
  EXPECT_EQ(EvalFailure("SUM"), TEvalFailure::Other);
  EXPECT_EQ(Eval(std::string(32, '(') + "1" + std::string(32, ')')), 1);
  EXPECT_EQ(EvalFailure(std::string(33, '(') + "1" + std::string(33, ')')), TEvalFailure::Other);
  EXPECT_EQ(EvalFailure(std::string(kMaxExpressionLength + 1, '1')), TEvalFailure::Other);
  EXPECT_EQ(Eval("(-2147483647-1)/-1"), -2147483647 - 1);  // INT_MIN / -1 wraps, no trap
}

TEST(AsmMessages, MembersJoinInTheirFixedOrderWithTheModule) {
  TAsmErrorSet set(TAsmMessage::UnknownInstruction);
  set.Add(TAsmMessage::InvalidName);
  set.Add(TAsmMessage::TooManyParameters);
  EXPECT_EQ(ComposeAsmMessage("FOO", set, ""),
            "Assembler: FOO - zu viele Parameter Unzulässige Bezeichnung unbekannter Befehl ");
  TAsmErrorSet late(TAsmMessage::OrgFromOne);
  late.Add(TAsmMessage::BranchTooFar);
  late.Add(TAsmMessage::ImmediateExpected);
  late.Add(TAsmMessage::ByteRange);
  EXPECT_EQ(ComposeAsmMessage("x", late, ""),
            "Assembler: x - Der Wert (Byte) muss im Bereich #0...#255 liegen.Hier muss ein fester # Wert angegeben "
            "werden.Die möglichen Startadressen beginnen ab '1'.Die Ziel - Adresse dieses Sprunges liegt zu weit "
            "entfernt.");
  EXPECT_EQ(ComposeAsmMessage("Z\xE4hler", TAsmMessage::ConstantUndefined, "Gr\xFC\xDF"
                                                                          "e"),
            "Assembler: Zähler - Konstante nicht definiert  (Grüße)");
  EXPECT_EQ(AsmMessageText(TAsmMessage::OnlyVariables),
            "Nur Variablen können als Zeiger auf Speicheradressen aus dem BASIC Programm verwendet werden.");
  EXPECT_TRUE(AsmMessageText(static_cast<TAsmMessage>(47)).empty());
}

}  // namespace
}  // namespace zarvek::hc05
