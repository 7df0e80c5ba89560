// The expression compiler on single expressions: token bytes per profile, precedence,
// folding, literals, built-ins, system variables, constant strings, calls and the error
// positions; and a property test against a plain 32-bit evaluator.
#include <gtest/gtest.h>

#include <random>

#include "compile_helpers.h"
#include "compiler/compiler_context.h"
#include "compiler/emit.h"
#include "compiler/expression.h"
#include "compiler/symbol_table.h"

namespace zarvek::test {
namespace {

struct ExpressionTest : ::testing::Test {
  TCompilerContext c;

  // A fresh expression; symbols, labels and the table area stay.
  void Source(const std::string& text, TProfile p = profile::Pyxon32) {
    c.code.clear();
    c.fixups.clear();
    c.position = 1;
    c.errorPosition = 0;
    c.errorReported = false;
    c.error.reset();
    c.source = text;
    c.profile = p;
    c.eepromSize = p == profile::Tessel11 ? 8192 : 65535;
    c.discard = IsPyxon(p) ? std::string("\x57") : std::string("\x14\x00\x00\x29\x2B", 5);
  }
  int Symbol(const std::string& name, uint32_t kinds, int64_t address = 0, const std::string& value = "") {
    Tlabel s;
    s.name = name;
    s.kind = kinds;
    s.address = address;
    s.value = value;
    return AddSymbol(c, s);
  }
  // The code of a run-time expression, or the error as "code@position: message".
  std::string Code(const std::string& text, TProfile p = profile::Pyxon32, uint32_t mask = kRuntimeMask) {
    Source(text, p);
    CompileExpression(c, mask);
    return Outcome(Hex(c.code));
  }
  // The value of a constant expression, which emits nothing.
  int32_t Fold(const std::string& text) {
    Source(text);
    const int32_t v = CompileExpression(c, kConstantMask);
    EXPECT_FALSE(c.errorReported) << text << ": " << c.error->message.str();
    EXPECT_EQ(c.code, "") << text;
    return v;
  }
  std::string Error(const std::string& text, TProfile p = profile::Pyxon32, uint32_t mask = kRuntimeMask) {
    Source(text, p);
    CompileExpression(c, mask);
    return Outcome("no error");
  }
  std::string Outcome(const std::string& ok) const {
    if (!c.error) return ok;
    return std::to_string(c.error->code) + "@" + std::to_string(c.error->sourcePosition) + ": " + c.error->message.str();
  }
};

TEST_F(ExpressionTest, EveryOperatorEmitsItsTokenAfterBothOperands) {
  const std::pair<const char*, const char*> operators[] = {
      {"=", "40"},    {"<>", "40 28"}, {">", "3C"},   {"<", "3E"},   {">=", "3D"},  {"=>", "3D"},  {"<=", "3F"},
      {"=<", "3F"},   {"AND", "29"},   {"OR", "2B"},  {"XOR", "2D"}, {"NAND", "2A"}, {"NOR", "2C"}, {"SHL", "2E"},
      {"SHR", "2F"},  {"*", "35"},     {"/", "36"},   {"MOD", "37"}, {"+", "33"},   {"-", "34"}};
  for (const auto& [op, token] : operators) {
    const std::string text = std::string("7 ") + op + " 300";
    EXPECT_EQ(Code(text), std::string("5A 07 14 01 2C ") + token) << op;
    EXPECT_EQ(Code(text, profile::Tessel11), std::string("14 00 07 14 01 2C ") + token) << op;
  }
  EXPECT_EQ(Code("7 and 3"), "5A 07 5A 03 29");  // operator words in any case
}

TEST_F(ExpressionTest, PrecedenceAndLeftAssociativity) {
  EXPECT_EQ(Code("1 + 2 * 3"), "5A 01 5A 02 5A 03 35 33");
  EXPECT_EQ(Fold("1 + 2 * 3"), 7);
  EXPECT_EQ(Code("1 AND 2 = 2"), "5A 01 5A 02 5A 02 40 29");  // comparisons bind tighter than AND
  EXPECT_EQ(Fold("1 AND 2 = 2"), 1);
  EXPECT_EQ(Fold("10 - 4 - 3"), 3);
  EXPECT_EQ(Fold("1 SHL 1 + 1"), 3);
  EXPECT_EQ(Fold("(1 + 2) * 3"), 9);
  EXPECT_EQ(Code("(1 + 2) * 3"), "5A 01 5A 02 33 5A 03 35");
  EXPECT_EQ(Fold("2 * (3 + (4 - 1)) MOD 5"), 2);
  EXPECT_EQ(Fold("1 < 2 OR 3 > 4"), -1);
  EXPECT_EQ(Fold("2*-3+10/3"), -3);  // no blanks needed
}

TEST_F(ExpressionTest, PrefixOperators) {
  EXPECT_EQ(Code("-2 * 3"), "5A 02 32 5A 03 35");
  EXPECT_EQ(Fold("-2 * 3"), -6);
  EXPECT_EQ(Code("NOT 5"), "5A 05 28");
  EXPECT_EQ(Code("NOT NOT 5"), "5A 05");  // a double NOT emits nothing
  EXPECT_EQ(Fold("NOT 5"), -6);
  EXPECT_EQ(Fold("-NOT 0"), 1);  // the complement first, then the sign
  EXPECT_EQ(Fold("+5 - -2"), 7);
  EXPECT_EQ(Fold("NOT 1 AND 3"), 2);  // NOT takes its operand only
}

TEST_F(ExpressionTest, FoldingWrapsAroundWithoutFaults) {
  EXPECT_EQ(Fold("7 / 0"), 0);
  EXPECT_EQ(Fold("7 MOD 0"), 0);
  EXPECT_EQ(Fold("-7 / 2"), -3);
  EXPECT_EQ(Fold("-7 MOD 2"), -1);
  EXPECT_EQ(Fold("65535 * 65535"), -131071);
  EXPECT_EQ(Fold("(0 - 32768) * 65536 / -1"), INT32_MIN);
  EXPECT_EQ(Fold("(0 - 32768) * 65536 MOD -1"), 0);
  EXPECT_EQ(Fold("1 SHL 33"), 2);
  EXPECT_EQ(Fold("-1 SHR 28"), 15);
  EXPECT_EQ(Fold("12 NAND 10"), ~8);
  EXPECT_EQ(Fold("12 NOR 10"), ~14);
  EXPECT_EQ(Fold("3 <> 3"), 0);
  EXPECT_EQ(Fold("3 => 3"), -1);
}

TEST_F(ExpressionTest, NumericAndCharacterLiterals) {
  EXPECT_EQ(Code("&HFF"), "5A FF");
  EXPECT_EQ(Code("&HFF", profile::Tessel20), "14 00 FF");
  EXPECT_EQ(Code("256"), "14 01 00");
  EXPECT_EQ(Fold("&b101 + &h1f"), 36);
  EXPECT_EQ(Fold("131070"), 131070);
  EXPECT_EQ(Code("\"A\""), "5A 41");
  EXPECT_EQ(Error("131071"), "113@1: (131071) Überlauf");
  EXPECT_EQ(Error("2 + &H1FFFF"), "113@5: (&H1FFFF) Überlauf");
  EXPECT_EQ(Error("99999999999999999999999"), "113@1: (99999999999999999999999) Überlauf");
  EXPECT_EQ(Error("&B102"), "101@5: &B102 unbekannt");
  EXPECT_EQ(Error("12A"), "101@3: 12A unbekannt");
  EXPECT_EQ(Error("&X1"), "107@2: B, H erwartet");
  EXPECT_EQ(Error("&H"), "107@3: \"0\" erwartet");
  EXPECT_EQ(Error("&H1&2"), "104@4: unerwartetes Zeichen '&'");
  EXPECT_EQ(Error("\"AB\"").substr(0, 6), "237@1:");
  EXPECT_EQ(Error("1 + \"\"").substr(0, 6), "237@5:");
  EXPECT_EQ(Error("\"A"), Error("\"AB\""));  // unclosed
}

TEST_F(ExpressionTest, MalformedExpressionsAndTheirPositions) {
  EXPECT_EQ(Error(""), "190@1: Ausdruck erwartet.");
  EXPECT_EQ(Error("  : 1"), "190@3: Ausdruck erwartet.");
  EXPECT_EQ(Error("1 +"), "190@4: Ausdruck erwartet.");
  EXPECT_EQ(Error("1 + ;"), "190@5: Ausdruck erwartet.");
  EXPECT_EQ(Error("1 + -"), "190@6: Ausdruck erwartet.");
  EXPECT_EQ(Error("NOT"), "190@4: Ausdruck erwartet.");
  EXPECT_EQ(Error("1 2"), "149@3: Operator erwartet.");
  EXPECT_EQ(Error("1 FOO 2"), "149@3: Operator erwartet.");
  EXPECT_EQ(Error("1 <<< 2"), "109@5: Ende erwartet ");
  EXPECT_EQ(Error("1 ABCDEFGHI 2"), "109@3: Ende erwartet ");
  EXPECT_EQ(Error("(1 + 2"), "107@7: ) erwartet");
  EXPECT_EQ(Error("(1 FOO)"), "149@4: Operator erwartet.");
  EXPECT_EQ(Error("(1 TO)"), "107@4: ) erwartet");
  EXPECT_EQ(Error("(1)(2)"), "114@4: ): Operator erwartet");
  EXPECT_EQ(Error("TRUE (1)"), "114@6: TRUE: Operator erwartet");
  EXPECT_EQ(Error("ABS()"), "190@5: Ausdruck erwartet.");
  EXPECT_EQ(Error("1 + nowhere"), "101@5: nowhere unbekannt");
  EXPECT_EQ(Error(std::string(300, '(') + "1"), "113@201: (Ausdruck) Überlauf");
}

TEST_F(ExpressionTest, ExpressionEndsBeforeKeywordsAndSeparators) {
  Source("1 + 2 TO 5");
  EXPECT_EQ(CompileExpression(c, kConstantMask), 3);
  EXPECT_EQ(c.position, 7);
  for (const char* text : {"4 , 9", "4 : x", "4 ' note", "4 )", "4 ]", "4 }"}) {
    Source(text);
    EXPECT_EQ(CompileExpression(c, kConstantMask), 4) << text;
    EXPECT_FALSE(c.errorReported) << text;
    EXPECT_EQ(c.position, 3) << text;
  }
}

TEST_F(ExpressionTest, BuiltinFunctions) {
  EXPECT_EQ(Code("ABS(-5)"), "5A 05 32 38");
  EXPECT_EQ(Fold("ABS(-5) + ABS(5)"), 10);
  EXPECT_EQ(Code("SGN(0)"), "5A 00 42");
  EXPECT_EQ(Fold("SGN(0)"), 1);  // the run-time ISNEG gives 0 here
  EXPECT_EQ(Fold("SGN(-3)"), -1);
  EXPECT_EQ(Fold("SQR(10) + SQR(-4)"), 3);
  EXPECT_EQ(Fold("SQR(65535 * 32767)"), 46340);
  EXPECT_EQ(Code("MIN(3, 5)"), "5A 03 5A 05 3B");
  EXPECT_EQ(Fold("MAX(3, 5) * 2 + MIN(1 + 1, 7)"), 12);
  EXPECT_EQ(Code("PEEK(100)"), "5A 64 5C 06");
  EXPECT_EQ(Error("PEEK(100)", profile::Tessel11),
            "275@1: Nur unter Profileinstellung Atmega32 oder Atmega128 verfügbar. (PEEK)");
  EXPECT_EQ(Error("PEEK(1)", profile::Pyxon32, kConstantMask), "121@1: PEEK: Konstante erwartet");
  EXPECT_EQ(Error("MAX(3)"), "107@6: , erwartet");
  EXPECT_EQ(Error("ABS 5"), "107@5: ( erwartet");
  EXPECT_EQ(Error("ABS(5"), "107@6: ) erwartet");
  EXPECT_EQ(Error("LEN(x)"), "278@5: String* Variable erwartet. (x)");
}

TEST_F(ExpressionTest, PointerPushesAnAddress) {
  Symbol("counter", KindBit(kind::Word), 12);
  EXPECT_EQ(Code("POINTER(counter)"), "5A 0C");
  EXPECT_TRUE(c.symbols[0].used);
  Source("POINTER(counter) + 1");
  EXPECT_EQ(CompileExpression(c, kConstantMask), 13);
  Symbol("n", KindBit(kind::Constant), 3);
  EXPECT_EQ(Error("POINTER(n)"), "116@9: n: Variable erwartet");
}

TEST_F(ExpressionTest, SystemVariablesRead) {
  EXPECT_EQ(Code("TIMER + INSTAT"), "1C 07 21 33");
  EXPECT_EQ(Code("INKEY$"), "22");
  EXPECT_EQ(Code("EOF OR RAND"), "47 31 2B");
  EXPECT_EQ(Code("YEAR + DOW", profile::Tessel20), "1C 00 1C 03 33");
  // Tessel 1.1 computes the day in a subroutine generated behind a jump, then calls it.
  const std::string dow = Code("YEAR + DOW", profile::Tessel11);
  EXPECT_EQ(dow.substr(0, 8), "1C 00 03");
  EXPECT_EQ(dow.substr(dow.size() - 14), "06 05 00 00 33");
  EXPECT_EQ(Code("KEY + KEYCOUNT"), "1C 0D 1C 0E 33");
  EXPECT_EQ(Error("KEY", profile::Tessel20).substr(0, 6), "275@1:");
  EXPECT_EQ(Code("FREQ2", profile::Tessel20), "1C 0A");
  EXPECT_EQ(Error("FREQ2", profile::TesselMicro).substr(0, 6), "231@1:");
  EXPECT_EQ(Error("1 + BEEP"), "209@5: 'BEEP' kann nur gelesen werden.");
  EXPECT_EQ(Error("HOUR", profile::Pyxon32, kConstantMask), "121@1: HOUR: Konstante erwartet");
  // A larger EEPROM on Tessel 1.1 adds half of what lies beyond 8 KB to FILEFREE.
  EXPECT_EQ(Code("FILEFREE", profile::Tessel11), "1C 0B");
  Source("FILEFREE", profile::Tessel11);
  c.eepromSize = 32768;
  CompileExpression(c, kRuntimeMask);
  EXPECT_EQ(Hex(c.code), "1C 0B 14 30 00 33");
}

TEST_F(ExpressionTest, SystemVariablesWrite) {
  const auto assign = [&](const std::string& name, TProfile p) {
    Source(" = 5", p);
    if (!CompileSysAssign(c, name)) return std::string("not a system variable");
    return Outcome(Hex(c.code));
  };
  EXPECT_EQ(assign("TIMER", profile::Pyxon32), "5A 05 1D 07");
  EXPECT_EQ(assign("TIMER", profile::Tessel11).substr(0, 4), "127@");
  EXPECT_EQ(assign("BEEP", profile::Tessel11), "14 00 05 1D 08");
  EXPECT_EQ(assign("KEYCOUNT", profile::Pyxon128), "5A 05 1D 0E");
  EXPECT_EQ(assign("KEYCOUNT", profile::TesselMicro).substr(0, 4), "275@");
  EXPECT_EQ(assign("KEY", profile::Pyxon32).substr(0, 4), "127@");
  EXPECT_EQ(assign("DOW", profile::Tessel20), "14 00 05 1D 03");
  EXPECT_EQ(assign("DOW", profile::Pyxon32).substr(0, 4), "127@");
  EXPECT_EQ(assign("FREQ1", profile::TesselMicro), "14 00 05 1D 09");
  EXPECT_EQ(assign("FREQ2", profile::Tessel11).substr(0, 4), "127@");
  EXPECT_EQ(assign("INKEY$", profile::Pyxon32), "127@0: INKEY$: Der linken Seite kann nichts zugewiesen werden");
  EXPECT_EQ(assign("MONTH", profile::Pyxon32), "5A 05 1D 01");
  EXPECT_EQ(assign("COUNTER", profile::Pyxon32), "not a system variable");
  Source("TIMER 5");
  c.position = 6;
  EXPECT_TRUE(CompileSysAssign(c, "TIMER"));
  EXPECT_EQ(Outcome(""), "112@7: = erwartet.");
}

TEST_F(ExpressionTest, NamedOperands) {
  Symbol("limit", KindBit(kind::Constant), 300);
  EXPECT_EQ(Code("LIMIT + true + false"), "14 01 2C 14 FF FF 33 5A 00 33");
  EXPECT_TRUE(c.symbols[0].used);
  Source("limit * 2");
  EXPECT_EQ(CompileExpression(c, kConstantMask), 600);
  DefineStringConstant(c, "greeting$", "hi");
  EXPECT_EQ(Error("greeting"), "no error");  // the length constant
  Symbol("name$", KindBit(kind::String), 4);
  Symbol("Tick", KindBit(kind::Sub), 40, "0");
  Symbol("here", KindBit(kind::Label), 44);
  Symbol("x", KindBit(kind::Word), 2);
  EXPECT_EQ(Error("1 + greeting$"), "241@5: Inkompatible Typen: String Konstante greeting$ und Wert.");
  EXPECT_EQ(Error("name").substr(0, 6), "256@1:");  // found without its "$"
  EXPECT_EQ(Error("Tick + 1").substr(0, 6), "184@1:");
  EXPECT_EQ(Error("here"), "101@1: here unbekannt");
  EXPECT_EQ(Error("here", profile::Pyxon32, kMaskLabel), "no error");
  EXPECT_EQ(Error("x", profile::Pyxon32, kMaskLabel), "100@1: Label erwartet, x ist kein Label.");
  EXPECT_EQ(Error("interrupt", profile::Pyxon32, kMaskLabel).substr(0, 6), "210@1:");
  EXPECT_EQ(Error("x", profile::Pyxon32, kConstantMask), "121@1: x: Konstante erwartet");
  EXPECT_EQ(Error("1", profile::Pyxon32, kMaskLabel), "101@1: 1 unbekannt");
}

TEST_F(ExpressionTest, AssemblerLabelsOnlyWhereAddressesAreWanted) {
  AddAsmLabel(c, {"Blink", 0x1234});
  EXPECT_EQ(Error("blink"), "139@1: blink: Assembler Adressen können nur zum Aufrufen verwendet werden. ");
  Source("blink + 1");
  EXPECT_EQ(CompileExpression(c, kConstantMask | kMaskAsmLabel), 0x1235);
  EXPECT_EQ(Code("blink", profile::Pyxon32, kRuntimeMask | kMaskAsmLabel), "14 00 00");
  ASSERT_EQ(c.fixups.size(), 1u);
  EXPECT_EQ(c.fixups[0].text, "^Blink");
}

TEST_F(ExpressionTest, UserFunctionCalls) {
  Symbol("Area", KindBit(kind::Function), 100, "2");
  EXPECT_EQ(Code("1 + Area(2, 3)"), "5A 01 5A 02 5A 03 05 00 00 33");
  ASSERT_EQ(c.fixups.size(), 1u);
  EXPECT_EQ(c.fixups[0].text, "Area");
  EXPECT_EQ(c.fixups[0].slot, 8u);
  EXPECT_EQ(c.fixups[0].argumentCount, 2);
  EXPECT_EQ(c.fixups[0].sourcePosition, 5);
  EXPECT_TRUE(c.symbols[0].used);
  c.currentProcedure = 0;
  EXPECT_EQ(Code("area(2,3)", profile::Pyxon128), "5A 02 5A 03 69 00 00");
  EXPECT_EQ(Code("area(2,3)", profile::Tessel11), "14 00 02 14 00 03 05 00 00");
  EXPECT_EQ(Code("area(2,3)", profile::Tessel20), "14 00 02 14 00 03 05 00 00 17 1F");
  c.currentProcedure = -1;
  EXPECT_EQ(Error("Area(2)"), "226@1: Erwartet mehr Parameter (Area).");
  EXPECT_EQ(Error("Area(2, 3, 4)"), "227@1: Erwartet weniger Parameter (Area).");
  EXPECT_EQ(Error("Area(2; 3)"), "107@7: ) erwartet");
  EXPECT_EQ(Error("Area(2, 3)", profile::Pyxon32, kConstantMask), "101@1: Area unbekannt");
  // A FUNCTION declared further on: the post-pass checks the count.
  EXPECT_EQ(Code("Later(1)"), "5A 01 05 00 00");
  EXPECT_EQ(c.fixups.back().argumentCount, 1);
  EXPECT_EQ(Error("Later(1,2,3,4,5,6,7,8,9)").substr(0, 6), "227@1:");
}

TEST_F(ExpressionTest, ArgumentsPassStringsAsReferences) {
  Symbol("F", KindBit(kind::Function), 100, "3");
  EXPECT_EQ(Code("F(\"ab\" + CHR$(67), 7, \"\")"), "5A 02 5A 07 5A 07 05 00 00");
  // Two anonymous constants: "abC" at table offset 0 and "" behind it.
  EXPECT_EQ(c.tableArea.size(), 14u);
  const int first = FindSymbol(c, "~0.0$", -1);
  ASSERT_GE(first, 0);
  EXPECT_EQ(StringConstantText(c, c.symbols[static_cast<size_t>(first)]), "abC");
  EXPECT_TRUE(c.symbols[static_cast<size_t>(first)].used);
  EXPECT_GE(FindSymbol(c, "~4.10$", -1), 0);
  Symbol("label$", KindBit(kind::String), 3);
  EXPECT_EQ(Code("F(label$, 1, 2)", profile::Tessel11), "17 03 14 00 01 14 00 02 05 00 00");
  EXPECT_EQ(Error("F(label$ + 1, 1, 2)"), "107@10: ) erwartet");
}

TEST_F(ExpressionTest, ConstantStrings) {
  const auto text = [&](const std::string& source) {
    Source(source);
    std::string result;
    const bool ok = CompileConstantString(c, result);
    return ok ? result : Outcome("?");
  };
  DefineStringConstant(c, "Unit$", "cm");
  Symbol("buffer$", KindBit(kind::String), 3);
  EXPECT_EQ(text("\"ab\" + CHR$(67) & STR$(-12) + unit$"), "abC-12cm");
  EXPECT_EQ(text("STR$(2 * 21):"), "42");
  EXPECT_EQ(text("  "), "244@3: Erwartet \" String \" Ausdruck, CHR$ oder STR$");
  EXPECT_EQ(text("\"ab\r\n"), "103@1: nicht abgeschlossener String. Zeichenketten sollten zwischen \" und \" stehen.");
  EXPECT_EQ(text("\"a\" \"b\""), "177@5: ';' erwartet.");
  EXPECT_EQ(text("\"a\" CHR$(1)"), "240@5: Erwartet + oder & zur Verkettung von Strings.");
  EXPECT_EQ(text("\"a\" +"), "239@6: Erwartet \" Zeichenkette \", eine Stringvariable$, CHR$ oder STR$.");
  EXPECT_EQ(text("buffer$"), "254@1: Erwartet eine String Konstante. buffer$ ist eine Stringvariable.");
  EXPECT_EQ(text("CHR$ 5"), "107@6: ( erwartet");
}

TEST(ExpressionProgram, InlineBytesFoldConstantExpressions) {
  EXPECT_EQ(ImageHex("$ 1 + 2 * 3, &HFF, -1, \"A\", NOT 0 AND 7\r\n"), "07 FF FF 41 07 FF");
  const TCompileResult r = Compile("$ 1\r\n$ 2 +\r\n");
  ASSERT_FALSE(r.success);
  EXPECT_EQ(r.error->code, 190);
  EXPECT_EQ(r.error->line, 2);
  EXPECT_EQ(r.error->column, 6);
}

// --- Property: folding agrees with a plain 32-bit evaluator ---

struct TRandomExpression {
  std::mt19937 random{20240601};
  std::vector<std::string> tokens;  // operands, operators and parentheses in order

  int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); }
  void Operand(int depth) {
    if (Pick(4) == 0) tokens.push_back("-");
    if (Pick(4) == 0) tokens.push_back("NOT");
    if (depth < 3 && Pick(4) == 0) {
      tokens.push_back("(");
      Expression(depth + 1);
      tokens.push_back(")");
      return;
    }
    const int value = Pick(3) == 0 ? Pick(131071) : Pick(40);
    char hex[16];
    std::snprintf(hex, sizeof hex, "&H%X", value);
    tokens.push_back(Pick(3) == 0 ? hex : std::to_string(value));
  }
  void Expression(int depth) {
    static const char* const kOps[] = {"+",  "-",  "*",  "/",  "MOD", "AND", "OR", "XOR", "NAND", "NOR", "SHL",
                                       "SHR", "=", "<>", "<", ">",   "<=",  ">=", "=<",  "=>"};
    Operand(depth);
    for (int n = Pick(5); n > 0; --n) {
      tokens.push_back(kOps[Pick(20)]);
      Operand(depth);
    }
  }
};

// Precedence climbing over the tokens, with wrapping 32-bit arithmetic.
struct TReference {
  const std::vector<std::string>& t;
  size_t i = 0;

  static int Precedence(const std::string& op) {
    if (op == "SHL" || op == "SHR") return 5;
    if (op == "*" || op == "/" || op == "MOD") return 4;
    if (op == "+" || op == "-") return 3;
    if (op == "AND" || op == "OR" || op == "XOR" || op == "NAND" || op == "NOR") return 1;
    return 2;  // comparisons
  }
  static int32_t Apply(const std::string& op, int32_t a, int32_t b) {
    const uint32_t ua = static_cast<uint32_t>(a), ub = static_cast<uint32_t>(b);
    const int64_t la = a, lb = b;
    if (op == "+") return static_cast<int32_t>(ua + ub);
    if (op == "-") return static_cast<int32_t>(ua - ub);
    if (op == "*") return static_cast<int32_t>(ua * ub);
    if (op == "/") return b == 0 ? 0 : static_cast<int32_t>(static_cast<uint32_t>(la / lb));
    if (op == "MOD") return b == 0 ? 0 : static_cast<int32_t>(la % lb);
    if (op == "AND") return a & b;
    if (op == "OR") return a | b;
    if (op == "XOR") return a ^ b;
    if (op == "NAND") return ~(a & b);
    if (op == "NOR") return ~(a | b);
    if (op == "SHL") return static_cast<int32_t>(ua << (ub % 32));
    if (op == "SHR") return static_cast<int32_t>(ua >> (ub % 32));
    bool r = false;
    if (op == "=") r = a == b;
    if (op == "<>") r = a != b;
    if (op == "<") r = a < b;
    if (op == ">") r = a > b;
    if (op == "<=" || op == "=<") r = a <= b;
    if (op == ">=" || op == "=>") r = a >= b;
    return r ? -1 : 0;
  }
  int32_t Primary() {
    const bool negate = t[i] == "-";
    if (negate) ++i;
    const bool complement = t[i] == "NOT";
    if (complement) ++i;
    int32_t v = 0;
    if (t[i] == "(") {
      ++i;
      v = Expression(0);
      ++i;  // ")"
    } else {
      const std::string& s = t[i++];
      v = s[0] == '&' ? static_cast<int32_t>(std::stol(s.substr(2), nullptr, 16)) : std::stoi(s);
    }
    if (complement) v = ~v;
    if (negate) v = static_cast<int32_t>(0u - static_cast<uint32_t>(v));
    return v;
  }
  int32_t Expression(int minPrecedence) {
    int32_t left = Primary();
    while (i < t.size() && t[i] != ")" && Precedence(t[i]) >= minPrecedence) {
      const std::string op = t[i++];
      left = Apply(op, left, Expression(Precedence(op) + 1));
    }
    return left;
  }
};

TEST(ExpressionProperty, ConstantFoldingMatchesA32BitEvaluator) {
  TRandomExpression generator;
  for (int n = 0; n < 3000; ++n) {
    generator.tokens.clear();
    generator.Expression(0);
    std::string text;
    for (const std::string& token : generator.tokens) text += token + " ";
    TReference reference{generator.tokens};
    const int32_t expected = reference.Expression(0);
    TCompilerContext c;
    c.source = text;
    c.profile = profile::Pyxon32;
    const int32_t actual = CompileExpression(c, kConstantMask);
    ASSERT_FALSE(c.errorReported) << text << ": " << c.error->message.str();
    ASSERT_EQ(actual, expected) << text;
    ASSERT_TRUE(c.operatorStack.empty());
  }
}

}  // namespace
}  // namespace zarvek::test
