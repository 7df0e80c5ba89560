// Assembling texts: operand forms, directives, every group of messages with the faulty
// field, the passes with their line map and breakpoints, and the names of the BASIC
// program.
#include <gtest/gtest.h>

#include <random>

#include "hc05/assembler.h"
#include "text/hex.h"

namespace zarvek::hc05 {
namespace {

TAssembly Assemble(const std::vector<std::string>& lines, const TAssembleOptions& options = {}) {
  TAssembler assembler;
  assembler.PreRegisterLabels(lines);
  return assembler.Assemble(lines, options);
}

// The code in hex, or the message of the first error.
std::string Code(const std::vector<std::string>& lines, const TAssembleOptions& options = {}) {
  const TAssembly a = Assemble(lines, options);
  return a.success ? HexBytes(a.code) : a.error->message;
}

struct TExpected {
  std::string message;
  int field;
};

TExpected Error(const std::vector<std::string>& lines, const TAssembleOptions& options = {}) {
  const TAssembly a = Assemble(lines, options);
  if (a.success) return {"no error", -1};
  return {a.error->message, a.error->field};
}

void ExpectError(const std::vector<std::string>& lines, const std::string& message, int field) {
  const TExpected e = Error(lines);
  EXPECT_EQ(e.message, message) << lines.back();
  EXPECT_EQ(e.field, field) << lines.back();
}

TEST(Assembler, AddressModesFollowTheOperandValue) {
  EXPECT_EQ(Code({" LDA $FF"}), "B6 FF");
  EXPECT_EQ(Code({" LDA $100"}), "C6 01 00");
  EXPECT_EQ(Code({" LDA ,X", " LDA 0,X", " LDA $FF,X", " LDA $100,X"}), "F6 E6 00 E6 FF D6 01 00");
  EXPECT_EQ(Code({" lda  # $10 + 1", " LDA #$10+1"}), "A6 11 A6 11");
  EXPECT_EQ(Code({" ASL $40", " LSL $40", "L BCC L", " BHS L"}), "38 40 38 40 24 FE 24 FC");
  EXPECT_EQ(Code({" JSR $1234", " STX 5,X", " CLR ,X", " MUL", " ASLA"}), "CD 12 34 EF 05 7F 42 48");
  EXPECT_EQ(Code({" BSET 3,$10", " BSET $10.3", " BCLR $FF.7"}), "16 10 16 10 1F FF");
  EXPECT_EQ(Code({"L BRSET 2,$10,L", "  BRCLR $10.2,L"}), "04 10 FD 05 10 FA");
}

TEST(Assembler, DirectivesEmitDataAndSetTheStart) {
  EXPECT_EQ(Code({" DB #5", " DB \"A\"\"B\"", " DB 'it''s'", " DW #$1234", " DW #300"}),
            "05 41 22 42 69 74 27 73 12 34 01 2C");
  const TAssembly org = Assemble({"start ORG $200", " NOP", "here NOP"});
  EXPECT_EQ(org.startAddress, 0x200u);
  EXPECT_EQ(HexBytes(org.code), "9D 9D");
  TAssembler a;
  ASSERT_TRUE(a.Assemble({"start ORG #$200", " NOP", "here NOP"}, {}).success);
  int index = 0;
  ASSERT_TRUE(a.FindSymbol("here", index));
  EXPECT_EQ(a.Symbol(index)->value, "513");
  ASSERT_TRUE(a.FindSymbol("START", index));
  EXPECT_EQ(a.Symbol(index)->value, "512");  // an ORG line's label takes the ORG value
  EXPECT_EQ(Assemble({" NOP"}).startAddress, 257u);
}

TEST(Assembler, ConstantsStandForTheirValueWithTheImmediateMark) {
  EXPECT_EQ(Code({"FIVE EQU #5", "PORT EQU $10", " LDA FIVE", " LDA PORT", " LDA FIVE*2", " LDA #PORT+1"}),
            "A6 05 B6 10 A6 0A A6 11");
  // The value, not the text, so that precedence cannot change it.
  EXPECT_EQ(Code({"SUM EQU 2+3", " LDA SUM*2"}), "B6 0A");
  EXPECT_EQ(Code({"LED EQU PORT.3", "PORT EQU 1", " BSET LED"}), "16 01");
  EXPECT_EQ(Code({"PORT EQU 1", "PORT.3 EQU 0.3", " BSET PORT.3"}), "16 00");
  TAssembler a;
  ASSERT_TRUE(a.Assemble({"K EQU #$10", "B EQU K.2"}, {}).success);
  int index = 0;
  ASSERT_TRUE(a.FindSymbol("k", index));
  EXPECT_EQ(a.Symbol(index)->value, "#16");
  EXPECT_EQ(AsmSymbolNumber(*a.Symbol(index)), 16);
  EXPECT_EQ(a.Symbol(index)->kind, asmsymbol::Constant);
  ASSERT_TRUE(a.FindSymbol("B", index));
  EXPECT_EQ(a.Symbol(index)->value, "#16.2");
  EXPECT_EQ(AsmSymbolNumber(*a.Symbol(index)), std::nullopt);
  EXPECT_EQ(a.Symbol(-1), nullptr);
  EXPECT_EQ(a.Symbol(2), nullptr);
}

TEST(Assembler, ConditionalBlocksAreCheckedButEmitOnlyWhenActive) {
  EXPECT_EQ(Code({" IF 1", " DB #1", " ELSE", " DB #2", " END IF", " DB #3"}), "01 03");
  EXPECT_EQ(Code({" IF 0", " DB #1", " ELSE", " DB #2", " END IF"}), "02");
  EXPECT_EQ(Code({" IF 1", " IF 0", " DB #1", " ELSE", " DB #2", " END IF", " ELSE", " DB #3", " END IF"}), "02");
  EXPECT_EQ(Code({"DEBUG EQU #1", " IF DEBUG", " NOP", " END IF"}), "9D");
  EXPECT_EQ(Code({" END IF", " END", " NOP"}), "9D");  // nothing open, nothing to close
  ExpectError({" IF 0", " NOP", " FOO", " END IF"}, "Assembler: FOO - unbekannter Befehl ", 1);
  // Labels inside an inactive block take the location counter, which did not move.
  EXPECT_EQ(Code({" IF 0", "skip NOP", " END IF", "L BRA skip"}), "20 FE");
  ExpectError({" IF 1", " ELSE", " ELSE", " END IF"}, "Assembler: ELSE - Hierzu fehlt die'IF' Anweisung.", 1);
  ExpectError({" ELSE"}, "Assembler: ELSE - Hierzu fehlt die'IF' Anweisung.", 1);
  ExpectError({" IF 1", " END THEN"}, "Assembler: THEN - unzulässige Parameter ", 2);
}

TEST(Assembler, DefineChecksThatTheFileExists) {
  TAssembleOptions options;
  options.fileExists = [](const std::string& name) { return name == "ports.inc"; };
  EXPECT_EQ(Code({" DEFINE \"ports.inc\"", " NOP"}, options), "9D");
  EXPECT_EQ(Error({" DEFINE \"other.inc\""}, options).message, "Assembler: \"other.inc\" - Datei nicht gefunden ");
  EXPECT_EQ(Error({" DEFINE ports.inc"}, options).message, "Assembler: ports.inc - Konstante nicht definiert ");
  EXPECT_EQ(Error({" DEFINE \"ports.inc\""}).message, "Assembler: \"ports.inc\" - Datei nicht gefunden ");
}

TEST(AssemblerErrors, LabelChecksInTheirOrder) {
  ExpectError({"LDA NOP"}, "Assembler: LDA - Bezeichnung ist reserviert ", 0);
  ExpectError({"x NOP"}, "Assembler: x - Bezeichnung ist reserviert ", 0);
  ExpectError({"A.B NOP"}, "Assembler: A.B - Unzulässige Bezeichnung ", 0);
  ExpectError({"ABCDEFGHIJKLMNOPQRST NOP"}, "Assembler: ABCDEFGHIJKLMNOPQRST - Unzulässige Bezeichnung ", 0);
  ExpectError({"1ABC NOP"}, "Assembler: 1ABC - Unzulässige Bezeichnung ", 0);
  ExpectError({"K EQU X"}, "Assembler: X - unzulässige Parameter ", 2);
  ExpectError({"K EQU \"ab\""}, "Assembler: \"ab\" - unzulässige Parameter ", 2);
  ExpectError({"K: EQU 5"}, "Assembler: K - Ein Label kann nicht auf einen festen Wert gesetzt werden.", 0);
  ExpectError({"K EQU"}, "Assembler: EQU - Parameter fehlen", 1);
  ExpectError({"K.1 EQU 5"}, "Assembler: K.1 - Das Bit braucht ein zugehöriges Byte mit gleichem Namen.", 0);
  ExpectError({"A NOP", "A NOP"}, "Assembler: A - Symbol bereits definiert ", 0);
  ExpectError({" EQU 5"}, "Assembler: EQU - Eine Bezeichnung für dieses Symbol fehlt ", 0);
  ExpectError({"K EQU K+1"}, "Assembler: K+1 - Eine Konstante kann nicht implizit sich selbst beschreiben.", 2);
  ExpectError({"K EQU 5/0"}, "Assembler: 5/0 - Division durch Null.", 2);
  ExpectError({"K EQU 5,6"}, "Assembler: 6 - zu viele Parameter ", 3);
}

TEST(AssemblerErrors, InstructionChecks) {
  ExpectError({" FOO"}, "Assembler: FOO - unbekannter Befehl ", 1);
  ExpectError({" NOP 5"}, "Assembler: 5 - zu viele Parameter ", 2);
  ExpectError({"L BRA L+130"}, "Assembler: L+130 - Die Ziel - Adresse dieses Sprunges liegt zu weit entfernt.", 2);
  ExpectError({" BSET 8,$10"}, "Assembler: 8 - Hier muss die Bit Position angeben werden (0...7) ", 2);
  ExpectError({" BRCLR -1,$10,0"}, "Assembler: -1 - Hier muss die Bit Position angeben werden (0...7) ", 2);
  ExpectError({" LDA #5,X"},
              "Assembler: #5 - Das Index Register kann nur für eine Adresse der Offset Wert sein, nicht für "
              "einen festen # Wert.",
              2);
  // 128 bytes back and 127 ahead are the limits.
  EXPECT_EQ(Code({"L DB \"" + std::string(126, 'x') + "\"", " BRA L"}).substr(126 * 3), "20 80");
  EXPECT_EQ(Code({" BRA L", " DB \"" + std::string(127, 'x') + "\"", "L NOP"}).substr(0, 5), "20 7F");
  ExpectError({" BRA L", " DB \"" + std::string(128, 'x') + "\"", "L NOP"},
              "Assembler: L - Die Ziel - Adresse dieses Sprunges liegt zu weit entfernt.", 2);
}

TEST(AssemblerErrors, OperandsThatFitNoFormAreClassifiedInOrder) {
  ExpectError({" LDA"}, "Assembler: LDA - Parameter fehlen", 1);
  ExpectError({" BSET 1"}, "Assembler: BSET - Parameter fehlen", 1);
  ExpectError({" LDA 1,X,2"}, "Assembler: 2 - zu viele Parameter ", 4);
  ExpectError({" LDA FOO"}, "Assembler: FOO - Konstante nicht definiert ", 2);
  ExpectError({" LDA 5,Y"}, "Assembler: Y - Konstante nicht definiert ", 3);
  ExpectError({" DB 5"}, "Assembler: 5 - Hier muss ein fester # Wert angegeben werden.", 2);
  ExpectError({" DW $10"}, "Assembler: $10 - Hier muss ein fester # Wert angegeben werden.", 2);
  ExpectError({" DB #256"}, "Assembler: #256 - Der Wert (Byte) muss im Bereich #0...#255 liegen.", 2);
  ExpectError({" DW #65536"}, "Assembler: #65536 - Der Wert (Word) muss im Bereich #0...#65535 liegen.", 2);
  ExpectError({" NOP", " ORG $200"},
              "Assembler: $200 - Die Startadresse muss noch vor dem ersten Befehl festgelegt werden.", 2);
  ExpectError({" ORG 0"}, "Assembler: 0 - Die möglichen Startadressen beginnen ab '1'.", 2);
  ExpectError({" LDA X"}, "Assembler: X - Das Index Register kann an dieser Stelle nicht verwendet werden.", 2);
  ExpectError({" BRA X"}, "Assembler: X - Das Index Register kann an dieser Stelle nicht verwendet werden.", 2);
  ExpectError({" BSET 1,$100"}, "Assembler: $100 - Die Adresse muss im Bereich 0...255 liegen.", 3);
  ExpectError({" BSET 1,#$10"},
              "Assembler: #$10 - Diese Operation kann nur auf eine Adresse erfolgen, nicht auf einen festen # Wert.", 3);
  ExpectError({" BRSET 1,$10,#5"}, "Assembler: #5 - Das Sprung Ziel muss eine Adresse sein, nicht ein fester # Wert.", 4);
  ExpectError({" BRSET 1,$10,70000"}, "Assembler: 70000 - Die Adresse muss im Bereich 0...65535 liegen.", 4);
  ExpectError({" BRSET 1,$10,$FFFF+1"}, "Assembler: $FFFF+1 - Die Adresse muss im Bereich 0...65535 liegen.", 4);
  ExpectError({" BRSET 1,$10,700000"}, "Assembler: 700000 - Der Wert ist zu groß.", 4);
  ExpectError({" LDA 5,3"},
              "Assembler: 3 - Nur das Indexregister 'X' kann hier angegeben werden, falls es als Offset für die "
              "Adresse genutzt werden soll.",
              3);
  ExpectError({" NEG $1234"}, "Assembler: $1234 - Die Adresse muss im Bereich 0...255 liegen.", 2);
  ExpectError({" INC $100,X"}, "Assembler: $100 - Die Adresse muss im Bereich 0...255 liegen.", 2);
  ExpectError({" JMP -1"}, "Assembler: -1 - Die Adresse muss im Bereich 0...65535 liegen.", 2);
  ExpectError({" LDA #256"}, "Assembler: #256 - Der Wert (Byte) muss im Bereich #0...#255 liegen.", 2);
  ExpectError({" DB \"abc"}, "Assembler: \"abc - Eine Zeichenkette muss von \" oder ' eingeschlossen werden.", 2);
  ExpectError({" DB 'abc\""}, "Assembler: 'abc\" - Eine Zeichenkette muss von \" oder ' eingeschlossen werden.", 2);
}

TEST(AssemblerErrors, ImmediatesWhereOnlyAnAddressMayStand) {
  for (const char* line : {" STA #1", " STX #1", " JMP #1", " NEG #1"}) {
    EXPECT_EQ(Error({line}).message,
              "Assembler: #1 - Diese Operation kann nur auf eine Adresse erfolgen, nicht auf einen festen # Wert.")
        << line;
  }
  ExpectError({" BRA #5"}, "Assembler: #5 - Das Sprung Ziel muss eine Adresse sein, nicht ein fester # Wert.", 2);
}

TEST(AssemblerErrors, ExpressionsAndBitSelections) {
  ExpectError({" LDA #5/0"}, "Assembler: #5/0 - Division durch Null.", 2);
  ExpectError({" LDA #(1+2"}, "Assembler: #(1+2 - Klammer erwartet:", 2);
  ExpectError({" LDA 5+"}, "Assembler: 5+ - Operator wird auf nichts angewendet.", 2);
  ExpectError({" LDA 5+X"}, "Assembler: 5+X - Das Index Register kann an dieser Stelle nicht verwendet werden.", 2);
  ExpectError({" LDA $12345"}, "Assembler: $12345 - Der Wert ist zu groß.", 2);
  ExpectError({" BSET $100.3"}, "Assembler: 256.3 - Die Adresse muss im Bereich 0...255 liegen.", 2);
  ExpectError({" BSET $10.8"}, "Assembler: $10.8 - In einem Byte können nur die Bits 7...0 selektiert werden.", 2);
  ExpectError({" BSET FOO.3"}, "Assembler: FOO.3 - Eine Bit Selektion kann hier nicht durchgeführt werden.", 2);
  ExpectError({" BSET 1.2.3"}, "Assembler: 1.2.3 - Eine Bit Selektion kann hier nicht durchgeführt werden.", 2);
  ExpectError({" LDA $10.3"}, "Assembler: $10.3 - Eine Bit Selektion kann hier nicht durchgeführt werden.", 2);
}

TEST(AssemblerErrors, ModuleLinesNameTheirModuleAndFieldsTheirColumn) {
  TAssembleOptions options;
  options.modules = {{"Motor", 1, 2}, {"Inner", 2, 1}};
  const std::vector<std::string> lines = {" NOP", " NOP", "   LDA  FOO"};
  const TAssembly a = Assemble(lines, options);
  ASSERT_FALSE(a.success);
  EXPECT_EQ(a.error->message, "Assembler: FOO - Konstante nicht definiert  (Inner)");
  EXPECT_EQ(a.error->line, 2);
  EXPECT_EQ(a.error->column, 9);
  EXPECT_EQ(a.error->offendingText, "FOO");
  EXPECT_TRUE(a.error->set.Has(TAsmMessage::ConstantUndefined));
  EXPECT_EQ(a.sizeCaption, "Assembler");
  options.modules = {{"Motor", 0, 1}};
  EXPECT_EQ(Assemble(lines, options).error->message, "Assembler: FOO - Konstante nicht definiert ");
}

TEST(AssemblerPasses, ForwardReferencesSettleBeforeTheOutput) {
  EXPECT_EQ(Code({" BRA ahead", " NOP", "ahead RTS"}), "20 01 9D 81");
  EXPECT_EQ(Code({" JMP ahead", "ahead RTS"}), "CC 01 04 81");
  // A forward constant in the direct page shrinks the instruction; the labels follow.
  EXPECT_EQ(Code({" LDA PORT", "here BRA here", "PORT EQU $10"}), "B6 10 20 FE");
  EXPECT_EQ(Code({"A EQU B", "B EQU C", "C EQU D", "D EQU $20", " LDA A"}), "B6 20");
  EXPECT_EQ(Code({" BRSET 0,$10,next", "next NOP"}), "00 10 00 9D");
}

// A condition on a label behind it can never settle: whichever way it goes, the label
// moves the other way. The output pass names the label instead of emitting wrong code.
TEST(AssemblerPasses, ValuesThatNeverSettleAreReported) {
  ExpectError({" IF L<300", " DB \"" + std::string(100, 'x') + "\"", " END IF", "L NOP", " JMP L"},
              "Assembler: L - Ungültiger Wert ", 0);
}

TEST(AssemblerPasses, LineMapBreakpointsAndCaption) {
  TAssembleOptions options;
  options.breakpointLines = {1, 3, 6};
  options.showSize = true;
  const TAssembly a = Assemble({" NOP", "* comment", " LDA #1", "; note", "", " DW #5", " END IF"}, options);
  ASSERT_TRUE(a.success);
  EXPECT_EQ(a.lineMap, (std::vector<TAsmLineMapEntry>{{0, 0}, {1, 2}, {3, 5}}));
  EXPECT_EQ(a.breakpointPositions, (std::vector<uint16_t>{1, 3}));  // line 6 has no code after it
  EXPECT_EQ(a.sizeCaption, "Assembler (5 Bytes)");
  EXPECT_EQ(Assemble({" NOP"}, options).sizeCaption, "Assembler (1 Byte)");
  EXPECT_EQ(Assemble({}, options).sizeCaption, "Assembler (0 Bytes)");
  EXPECT_EQ(Assemble({" NOP"}).sizeCaption, "Assembler");
  EXPECT_EQ(AsmListing("\x01\xFF"), "Assembler 1 255");
  EXPECT_EQ(AsmListing(std::string(3000, '\0')), "");
}

TEST(AssemblerPasses, CodeEndsAtTheTopOfTheAddressSpace) {
  EXPECT_EQ(Code({" ORG $FFFF", " NOP"}), "9D");
  ExpectError({" ORG $FFFF", " DW #1"}, "Assembler: DW - Die Adresse muss im Bereich 0...65535 liegen.", 1);
}

TEST(AssemblerSymbols, PreRegistrationFindSymbolAndTheTableLimit) {
  TAssembler a;
  a.PreRegisterLabels({"Loop NOP", " NOP", "*c", ";c", "\tX", "Dup: NOP", "dup NOP", "bit.3 EQU 1", "last"});
  std::vector<std::string> names;
  for (const TAsmSymbol& s : a.Symbols()) names.push_back(s.name);
  EXPECT_EQ(names, (std::vector<std::string>{"bit.3", "Dup", "last", "Loop"}));
  EXPECT_EQ(a.Symbols()[0].kind, asmsymbol::PreRegistered);
  int index = -1;
  EXPECT_TRUE(a.FindSymbol("LOOP", index));
  EXPECT_EQ(index, 3);
  EXPECT_FALSE(a.FindSymbol("C", index));
  EXPECT_EQ(index, 1);  // insertion point
  a.PreRegisterLabels({"Other"});
  EXPECT_EQ(a.Symbols().size(), 1u);

  std::vector<std::string> many;
  for (int i = 0; i < 4097; ++i) many.push_back("L" + std::to_string(i) + " NOP");
  TAssembler full;
  full.PreRegisterLabels(many);
  EXPECT_EQ(full.Symbols().size(), 4096u);
  const TAssembly r = full.Assemble(many, {});
  ASSERT_FALSE(r.success);
  EXPECT_EQ(r.error->message, "Assembler: L4096 - zu viele Symbole ");
  EXPECT_EQ(r.error->line, 4096);
}

TEST(AssemblerSymbols, EditedTextsMoveOrDropTheirSymbols) {
  TAssembler a;
  ASSERT_TRUE(a.Assemble({"A NOP", "B NOP"}, {}).success);
  // A now stands on line 1; B is gone.
  ASSERT_TRUE(a.Assemble({" NOP", "A NOP"}, {}).success);
  const auto symbols = a.Symbols();
  ASSERT_EQ(symbols.size(), 1u);
  EXPECT_EQ(symbols[0].name, "A");
  EXPECT_EQ(symbols[0].line, 1);
  EXPECT_EQ(symbols[0].value, "258");
  EXPECT_EQ(symbols[0].kind, asmsymbol::Label);
}

std::vector<Tlabel> BasicNames() {
  auto label = [](std::string name, uint32_t kinds, int64_t address) {
    Tlabel l;
    l.name = std::move(name);
    l.kind = kinds;
    l.address = address;
    return l;
  };
  return {label("zaehler", KindBit(kind::Byte), 3), label("summe", KindBit(kind::Word), 2),
          label("Flag", KindBit(kind::Bit), 19), label("Grenze", KindBit(kind::Constant), 42),
          label("Ausgabe", KindBit(kind::Sub), 100), label("Port1", Kinds(kind::Byte, kind::Port), 0)};
}

TEST(AssemblerBasicNames, VariablesAreAddressesAndConstantsImmediates) {
  const std::vector<Tlabel> basic = BasicNames();
  TAssembleOptions options;
  options.basicSymbols = &basic;
  // byte 3 -> 164, word 2 -> 165, bit 19 -> byte 163 bit 3, constant -> #42.
  EXPECT_EQ(Code({" LDA ZAEHLER", " STA summe+1", "L BSET flag", " LDA Grenze", " BRCLR Flag,L"}, options),
            "B6 A4 B7 A6 16 A3 A6 2A 07 A3 F9");
  EXPECT_EQ(Error({" JSR Ausgabe"}, options).message,
            "Assembler: Ausgabe - Nur Variablen können als Zeiger auf Speicheradressen aus dem BASIC Programm "
            "verwendet werden.");
  EXPECT_EQ(Error({" LDA Port1"}, options).field, 2);
  EXPECT_EQ(Error({"summe NOP"}, options).message,
            "Assembler: summe - Die Symbolbezeichnung wird bereits im BASIC Programm verwendet.");
  EXPECT_EQ(Code({" LDA X"}, options).substr(0, 12), "Assembler: X");
}

// Random lines made of the assembler's own vocabulary: every input ends, nothing crashes.
TEST(AssemblerRobustness, ArbitraryLinesEndInCodeOrAnError) {
  static const char* kWords[] = {"LDA", "BRSET", "DB", "EQU", "IF", "ELSE", "END", "ORG", " ", ",", "X", "#",
                                 "$FF", "(", ")", "\"", "'", ";", ":", "L", ".", "-", "!", "~", "&&", "<>",
                                 "9", "\t", "*", "BSET", "DW", "DEFINE", "0", "@", "%", "H", "=<", "\\"};
  std::mt19937 random(12345);
  for (int round = 0; round < 300; ++round) {
    std::vector<std::string> lines;
    for (int l = 0; l < 8; ++l) {
      std::string line;
      for (int w = static_cast<int>(random() % 9); w > 0; --w) line += kWords[random() % std::size(kWords)];
      lines.push_back(line);
    }
    const TAssembly a = Assemble(lines);
    EXPECT_TRUE(a.success || !a.error->message.empty());
  }
}

}  // namespace
}  // namespace zarvek::hc05
