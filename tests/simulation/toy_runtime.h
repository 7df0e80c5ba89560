// A small runtime of our own for testing the Tessel loop before the board's operating
// system runs: it reads a token stream from the serial EEPROM over the bus lines of port A
// (sequential reads, re-addressing on jumps), passes the token-fetch point $0911 with the
// token just fetched, and knows a handful of tokens:
//   01 nothing   03 a16 GOTO   05 a16 GOSUB   06 RETURN   08 a16 call machine code
//   1F text 00 print   22 echo one received byte   FF END   anything else: error 255
// Its points: END rests at "halt", the echo waits at "rxwait", errors go to "error" with
// the number in A. With interrupts on, the IRQ vector goes to the given handler.
#pragma once

#include <cctype>
#include <map>
#include <string>
#include <vector>

#include "hc05/assembler.h"
#include "hc05/motorola_engine.h"
#include "simulation/tessel_board.h"
#include "simulation/tessel_loop.h"

namespace zarvek::test {

inline std::string Upper(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

inline const std::vector<std::string> kToyRuntime = {
    "         ORG $0911",
    "PORTA    EQU $00",
    "DDRA     EQU $04",
    "BAUD     EQU $0D",
    "SCCR2    EQU $0F",
    "SCSR     EQU $10",
    "SCDR     EQU $11",
    "COUNT    EQU $A0",
    "SHIFT    EQU $A1",
    "POSHI    EQU $A2",
    "POSLO    EQU $A3",
    "CSP      EQU $A4",
    "ARGHI    EQU $A5",
    "ARGLO    EQU $A6",
    "TRAMP    EQU $60",
    "CSTACK   EQU $C0",
    // $0911: the token just fetched is in A
    "dispatch CMP #$FF",
    "         BEQ finish",
    "         CMP #$01",
    "         BEQ fetch",
    "         CMP #$03",
    "         BEQ goto",
    "         CMP #$05",
    "         BEQ gosub",
    "         CMP #$06",
    "         BEQ return",
    "         CMP #$08",
    "         BEQ mcall",
    "         CMP #$1F",
    "         BEQ prints",
    "         CMP #$22",
    "         BEQ echo",
    "         LDA #255",
    "error    BRA error",
    "finish   SEI",
    "halt     BRA halt",
    "init     RSP",
    "         LDA #$C0",
    "         STA BAUD",
    "         LDA #$0C",
    "         STA SCCR2",
    "         LDA #3",
    "         STA PORTA",
    "         STA DDRA",
    "         CLR CSP",
    "         LDA #$CC",  // JMP extended, for machine-code calls
    "         STA TRAMP",
    "         LDA IRQON",
    "         BEQ noirq",
    "         LDA #$10",  // external interrupt on, low level
    "         STA $0C",
    "         CLI",
    "noirq    CLRX",
    "         LDA #4",
    "         JSR seek",
    "fetch    JSR rdack",
    "         JMP dispatch",
    "goto     JSR operand",
    "         JSR reseek",
    "         BRA fetch",
    "gosub    JSR operand",
    "         LDX CSP",
    "         LDA POSHI",
    "         STA CSTACK,X",
    "         LDA POSLO",
    "         STA CSTACK+1,X",
    "         INCX",
    "         INCX",
    "         STX CSP",
    "         JSR reseek",
    "         BRA fetch",
    "return   LDX CSP",
    "         DECX",
    "         DECX",
    "         STX CSP",
    "         LDA CSTACK,X",
    "         STA ARGHI",
    "         LDA CSTACK+1,X",
    "         STA ARGLO",
    "         JSR reseek",
    "         BRA fetch",
    "mcall    JSR operand",
    "         LDA ARGHI",
    "         STA TRAMP+1",
    "         LDA ARGLO",
    "         STA TRAMP+2",
    "         JSR TRAMP",
    "         BRA fetch",
    "prints   JSR rdack",
    "         TSTA",
    "         BEQ fetch",
    "pwait    BRCLR 7,SCSR,pwait",
    "         STA SCDR",
    "         BRA prints",
    "echo     NOP",
    "rxwait   BRCLR 5,SCSR,rxwait",
    "         LDA SCDR",
    "ewait    BRCLR 7,SCSR,ewait",
    "         STA SCDR",
    "         BRA fetch",
    // the two operand bytes into ARGHI:ARGLO
    "operand  JSR rdack",
    "         STA ARGHI",
    "         JSR rdack",
    "         STA ARGLO",
    "         RTS",
    // ends the running read (one byte read and not acknowledged), then reads from ARGHI:ARGLO
    "reseek   JSR recvbyte",
    "         JSR nack",
    "         LDX ARGHI",
    "         LDA ARGLO",
    // reads from X:A on
    "seek     STX POSHI",
    "         STA POSLO",
    "         JSR bstop",
    "         JSR bstart",
    "         LDA #$A0",
    "         JSR sendbyte",
    "         LDA POSHI",
    "         JSR sendbyte",
    "         LDA POSLO",
    "         JSR sendbyte",
    "         JSR bstart",
    "         LDA #$A1",
    "         JMP sendbyte",
    // the next byte into A, acknowledged so that the EEPROM moves on
    "rdack    JSR recvbyte",
    "         JSR ack",
    "         INC POSLO",
    "         BNE rdone",
    "         INC POSHI",
    "rdone    RTS",
    "bstart   BSET 0,DDRA",
    "         BSET 0,PORTA",
    "         BSET 1,PORTA",
    "         BCLR 0,PORTA",
    "         BCLR 1,PORTA",
    "         RTS",
    "bstop    BSET 0,DDRA",
    "         BCLR 0,PORTA",
    "         BSET 1,PORTA",
    "         BSET 0,PORTA",
    "         RTS",
    "sendbyte STA SHIFT",
    "         BSET 0,DDRA",
    "         LDA #8",
    "         STA COUNT",
    "sbit     BCLR 0,PORTA",
    "         LSL SHIFT",
    "         BCC szero",
    "         BSET 0,PORTA",
    "szero    BSET 1,PORTA",
    "         BCLR 1,PORTA",
    "         DEC COUNT",
    "         BNE sbit",
    "         BCLR 0,DDRA",
    "         BSET 1,PORTA",
    "         BCLR 1,PORTA",
    "         RTS",
    "recvbyte BCLR 0,DDRA",
    "         LDA #8",
    "         STA COUNT",
    "rbit     BSET 1,PORTA",
    "         BRSET 0,PORTA,rone",
    "rone     ROL SHIFT",
    "         BCLR 1,PORTA",
    "         DEC COUNT",
    "         BNE rbit",
    "         LDA SHIFT",
    "         RTS",
    "ack      BSET 0,DDRA",
    "         BCLR 0,PORTA",
    "         BSET 1,PORTA",
    "         BCLR 1,PORTA",
    "         BCLR 0,DDRA",
    "         RTS",
    "nack     BSET 0,DDRA",
    "         BSET 0,PORTA",
    "         BSET 1,PORTA",
    "         BCLR 1,PORTA",
    "         RTS",
    "IRQON    DB #0",
};

// The toy runtime as an image, with its points; irqHandler 0 leaves interrupts off.
struct TToyRuntime {
  std::string error;  // why it did not assemble
  hc05::TRuntimeImage image;
  TTesselRuntimePoints points;
  std::map<std::string, uint16_t> labels;
};

inline TToyRuntime BuildToyRuntime(uint16_t irqHandler = 0) {
  TToyRuntime toy;
  hc05::TAssembler assembler;
  std::vector<std::string> lines = kToyRuntime;
  if (irqHandler) lines.back() = "IRQON    DB #1";
  assembler.PreRegisterLabels(lines);
  const hc05::TAssembly a = assembler.Assemble(lines, {});
  if (!a.success) {
    toy.error = a.error->message + " in line " + std::to_string(a.error->line + 1);
    return toy;
  }
  if (a.startAddress != kTesselTokenFetchPoint) {
    toy.error = "the dispatch is not at the token-fetch point";
    return toy;
  }
  for (const hc05::TAsmSymbol& s : assembler.Symbols()) {
    if (!s.value.empty() && std::isdigit(static_cast<unsigned char>(s.value[0])))
      toy.labels[Upper(s.name)] = static_cast<uint16_t>(std::stoul(s.value));
  }
  toy.image.system.assign(hc05::TRuntimeImage::kSystemSize, '\0');
  toy.image.system.replace(a.startAddress - hc05::TRuntimeImage::kSystemAddress, a.code.size(), a.code);
  toy.image.vectors.assign(hc05::TRuntimeImage::kVectorsSize, '\0');
  const auto vector = [&](uint16_t at, uint16_t target) {
    toy.image.vectors[at - hc05::TRuntimeImage::kVectorsAddress] = static_cast<char>(target >> 8);
    toy.image.vectors[at - hc05::TRuntimeImage::kVectorsAddress + 1] = static_cast<char>(target & 0xFF);
  };
  vector(0x1FFE, toy.labels["INIT"]);
  if (irqHandler) vector(0x1FFA, irqHandler);
  toy.points.end = toy.labels["HALT"];
  toy.points.inputWait = toy.labels["RXWAIT"];
  toy.points.error = toy.labels["ERROR"];
  return toy;
}

// A token stream with statements and labels; addresses are EEPROM addresses (offset + 4).
class TToyProgram {
 public:
  TToyProgram& Statement(uint32_t line) {
    m_lines.push_back(TLineRecord{static_cast<uint32_t>(m_bytes.size()), line, line, kMainSourceOrigin, 0});
    return *this;
  }
  TToyProgram& Label(const std::string& name) {
    m_labels[name] = static_cast<uint16_t>(m_bytes.size() + 4);
    return *this;
  }
  TToyProgram& Byte(uint8_t b) {
    m_bytes.push_back(static_cast<char>(b));
    return *this;
  }
  TToyProgram& To(uint8_t token, const std::string& label) {
    Byte(token);
    m_fixups.emplace_back(m_bytes.size(), label);
    return Byte(0).Byte(0);
  }
  TToyProgram& Call(uint16_t address) { return Byte(0x08).Byte(static_cast<uint8_t>(address >> 8)).Byte(address & 0xFF); }
  TToyProgram& Print(const std::string& text) {
    Byte(0x1F);
    m_bytes += text;
    return Byte(0);
  }
  uint16_t Address(const std::string& label) const { return m_labels.at(label); }
  TTesselProgram Program() const {
    TTesselProgram p;
    p.image = m_bytes;
    for (const auto& [at, label] : m_fixups) {
      const uint16_t target = m_labels.at(label);
      p.image[at] = static_cast<char>(target >> 8);
      p.image[at + 1] = static_cast<char>(target & 0xFF);
    }
    p.lines = m_lines;
    return p;
  }

 private:
  std::string m_bytes;
  std::vector<TLineRecord> m_lines;
  std::map<std::string, uint16_t> m_labels;
  std::vector<std::pair<size_t, std::string>> m_fixups;
};

// Assembles user machine code into a program (start $0101 unless it says otherwise); the
// error, or an empty text.
inline std::string AddMachineCode(TTesselProgram& program, const std::vector<std::string>& lines,
                                  std::vector<int32_t> breakpointLines = {},
                                  std::map<std::string, uint16_t>* labels = nullptr) {
  hc05::TAssembler assembler;
  assembler.PreRegisterLabels(lines);
  hc05::TAssembleOptions options;
  options.breakpointLines = std::move(breakpointLines);
  const hc05::TAssembly a = assembler.Assemble(lines, options);
  if (!a.success) return a.error->message + " in line " + std::to_string(a.error->line + 1);
  program.machineCode = a.code;
  program.codeStart = a.startAddress;
  program.asmLineMap = a.lineMap;
  program.asmBreakpoints = a.breakpointPositions;
  if (labels)
    for (const hc05::TAsmSymbol& s : assembler.Symbols())
      if (!s.value.empty() && std::isdigit(static_cast<unsigned char>(s.value[0])))
        (*labels)[Upper(s.name)] = static_cast<uint16_t>(std::stoul(s.value));
  return {};
}

}  // namespace zarvek::test
