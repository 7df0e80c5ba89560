// GOTO, GOSUB and RETURN; switching the interrupt handlers on and off.
#include "compiler/control_flow.h"
#include "compiler/messages.h"
#include "compiler/diagnostics.h"
#include "compiler/emit.h"
#include "compiler/scanner.h"
#include "compiler/statements.h"
#include "compiler/variables.h"
#include "base/tokens.h"

namespace zarvek {

namespace {

// The target of a jump; an empty name reports 193.
void EmitTarget(TCompilerContext& c, const std::string& name, const std::string& fixup) {
  if (name.empty()) return ReportHere(c, "", msg::LabelNameExpected);
  AddFixup(c, fixup);
}

void CompileReturn(TCompilerContext& c) {
  if (AtStatementEnd(c)) return EmitByte(c, tok::RETURN);
  if (ReadUpperName(c) != "INTERRUPT") return CompileError(c, "", msg::EndOrInterruptExpected);
  EmitByte(c, tok::RETI);
  ExpectEnd(c);
}

// The profile rules of the interrupt statements; false after a report.
bool InterruptsAvailable(TCompilerContext& c, const std::string& upperWord, int32_t at) {
  if (upperWord == "KEYINTERRUPT" && !c.Pyxon()) return ReportAt(c, at, upperWord, msg::PyxonOnly), false;
  if (c.profile == profile::TesselMicro) return ReportAt(c, at, "INTERRUPT", msg::UnavailableOnMicro), false;
  return true;
}

// SETHANDLER and, on the Pyxon boards, which interrupt.
void EmitSetHandler(TCompilerContext& c, const std::string& upperWord) {
  EmitByte(c, tok::SETHANDLER);
  if (c.Pyxon()) EmitByte(c, upperWord == "KEYINTERRUPT" ? 1 : 0);
}

}  // namespace

void CompileGoto(TCompilerContext& c, const std::string& upperWord) {
  if (upperWord == "RETURN") return CompileReturn(c);
  const std::string name = ReadName(c);
  if (upperWord == "GOTO") {
    // A GOTO stays inside its SUB or FUNCTION, or inside the main program.
    const TBlock* procedure = InnermostProcedure(c);
    EmitByte(c, tok::GOTO);
    EmitTarget(c, name, name + "|" + (procedure != nullptr ? procedure->name : std::string()));
  } else {
    EmitByte(c, tok::GOSUB);
    EmitTarget(c, name, name);
    if (!c.errorReported && BalancesTesselPaths(c)) EmitDiscard(c);  // the cell RETURN hands back
  }
  if (!c.errorReported) ExpectEnd(c);
}

void CompileInterruptSwitch(TCompilerContext& c, const std::string& upperWord) {
  if (!InterruptsAvailable(c, upperWord, StatementStart(c))) return;
  SkipBlanks(c);
  const int32_t at = c.position;
  const std::string word = ReadUpperName(c);
  if (word != "ON" && word != "OFF") {
    c.position = at;
    return ReportHere(c, word, msg::OffExpected);
  }
  EmitSetHandler(c, upperWord);
  if (word == "ON") AddFixup(c, upperWord);  // the handler SUB of the same name
  else EmitWord(c, 0);
  ExpectEnd(c);
}

void CompileOnInterrupt(TCompilerContext& c) {
  SkipBlanks(c);
  const int32_t at = c.position;
  const std::string which = ReadUpperName(c);
  if (which != "INTERRUPT" && which != "KEYINTERRUPT") {
    c.position = at;
    return ReportHere(c, "", msg::InterruptExpected);
  }
  if (!InterruptsAvailable(c, which, at)) return;
  if (ReadUpperName(c) != "GOSUB") return CompileError(c, "", msg::GosubExpected);
  const std::string name = ReadName(c);
  EmitSetHandler(c, which);
  EmitTarget(c, name, name);
  if (!c.errorReported) ExpectEnd(c);
}

}  // namespace zarvek
