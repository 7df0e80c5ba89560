#include "hc05/asm_reserved.h"

#include <algorithm>
#include <array>

namespace zarvek::hc05 {

namespace {

using namespace asmclass;

constexpr std::array<TReservedName, kReservedNameCount> kNames = {{
    {"ADC", Arithmetic, "A = A + .C + (M)\nAdd with carry"},
    {"ADD", Arithmetic, "A = A + (M)\nadd without carry"},
    {"AND", Arithmetic, "A = A & (M)\nlogical and"},
    {"ASL", ReadModify, "C <- (M) <- 0\narithmetic shift left"},
    {"ASLA", Inherent, "C <- A <- 0\narithmetic shift left A"},
    {"ASLX", Inherent, "C <- X <- 0\narithmetic shift left X"},
    {"ASR", ReadModify, "(M)7 -> (M) -> C\narithmetic shift right"},
    {"ASRA", Inherent, "A7 -> A -> C\narithmetic shift right A"},
    {"ASRX", Inherent, "X7 -> X -> C\narithmetic shift right X"},
    {"BCC", Branch, "PC = (Address) if C = 0\nbranch if carry clear"},
    {"BCLR", BitSet, "(M*)* = 0\nclear bit *"},
    {"BCS", Branch, "PC = (Address) if C = 1\nbranch if carry set"},
    {"BEQ", Branch, "PC = (Address) if Z = 1\nbranch if equal"},
    {"BHCC", Branch, "PC = (Address) if H = 0\nbranch if half carry clear"},
    {"BHCS", Branch, "PC = (Address) if H = 1\nbranch if half carry set"},
    {"BHI", Branch, "PC = (Address) if C | Z = 0\nbranch if higher"},
    {"BHS", Branch, "PC = (Address) if C = 0\nbranch if higher or same"},
    {"BIH", Branch, "PC = (Address) if IRQ = 1\nbranch if interrupt pin high"},
    {"BIL", Branch, "PC = (Address) if IRQ = 0\nbranch if interrupt pin low"},
    {"BIT", Arithmetic, "A & (M)\nbit test"},
    {"BLO", Branch, "PC = (Address) if C = 1\nbranch if lower"},
    {"BLS", Branch, "PC = (Address) if C | Z = 1\nbranch if lower or same"},
    {"BMC", Branch, "PC = (Address) if I = 0\nbranch if interrupt mask clear"},
    {"BMI", Branch, "PC = (Address) if N = 1\nbranch if minus"},
    {"BMS", Branch, "PC = (Address) if I = 1\nbranch if interrupt mask set"},
    {"BNE", Branch, "PC = (Address) if Z = 0\nbranch if not equal"},
    {"BPL", Branch, "PC = (Address) if N = 0\nbranch if plus"},
    {"BRA", Branch, "PC = (Address)\nbranch always"},
    {"BRCLR", BitBranch, "PC = (Address) if (M*) = 0\nbranch if bit * clear"},
    {"BRN", Branch, "PC = PC + 2\nbranch never"},
    {"BRSET", BitBranch, "PC = (Address) if (M*) = 1\nbranch if bit * set"},
    {"BSET", BitSet, "(M*)* = 1\nset bit *"},
    {"BSR", Branch, "push PC   PC = (Address)\nbranch to subroutine"},
    {"CLC", Inherent, "C = 0\nclear carry"},
    {"CLI", Inherent, "I = 0\nclear interrupt mask"},
    {"CLR", ReadModify, "(M) = 0\nclear"},
    {"CLRA", Inherent, "A = 0\nclear A"},
    {"CLRX", Inherent, "X = 0\nclear X"},
    {"CMP", Arithmetic, "A - (M)\ncompare A with memory"},
    {"COM", ReadModify, "(M) = $FF - (M)\ncomplement"},
    {"COMA", Inherent, "A = $FF - A\ncomplement A"},
    {"COMX", Inherent, "X = $FF - X\ncomplement X"},
    {"CPX", Arithmetic, "X - (M)\ncompare X with memory"},
    {"DB", DefineByte, "byte/string\nconst data"},
    {"DEC", ReadModify, "(M) = (M) - 1\ndecrement"},
    {"DECA", Inherent, "A = A - 1\ndecrement A"},
    {"DECX", Inherent, "X = X - 1\ndecrement X"},
    {"DEFINE", Inherent, "\"file\"\nrequire a definitions file"},
    {"DW", DefineWord, "word\nconst data"},
    {"ELSE", Inherent, "\nconditional assembly"},
    {"END", Inherent, "\nconditional assembly"},
    {"EOR", Arithmetic, "A = A ^ (M)\nexclusive or"},
    {"EQU", DefineWord, "name = value\nconstant definition"},
    {"IF", Conditional, "\nconditional assembly"},
    {"INC", ReadModify, "(M) = (M) + 1\nincrement"},
    {"INCA", Inherent, "A = A + 1\nincrement A"},
    {"INCX", Inherent, "X = X + 1\nincrement X"},
    {"JMP", Jump, "PC = Address\njump"},
    {"JSR", Jump, "push PC   PC = Address\njump to subroutine"},
    {"LDA", Arithmetic, "A = (M)\nload A from memory"},
    {"LDX", Arithmetic, "X = (M)\nload X from memory"},
    {"LSL", ReadModify, "C <- (M) <- 0\nlogical shift left"},
    {"LSLA", Inherent, "C <- A <- 0\nlogical shift left A"},
    {"LSLX", Inherent, "C <- X <- 0\nlogical shift left X"},
    {"LSR", ReadModify, "0 -> (M) -> C\nlogical shift right"},
    {"LSRA", Inherent, "0 -> A -> C\nlogical shift right A"},
    {"LSRX", Inherent, "0 -> X -> C\nlogical shift right X"},
    {"MUL", Inherent, "X:A = X * A\nunsigned multiply"},
    {"NEG", ReadModify, "(M) = 0 - (M)\nnegate"},
    {"NEGA", Inherent, "A = 0 - A\nnegate A"},
    {"NEGX", Inherent, "X = 0 - X\nnegate X"},
    {"NOP", Inherent, "\nno operation"},
    {"ORA", Arithmetic, "A = A | (M)\ninclusive or"},
    {"ORG", Branch, "\nprogram originates in RAM"},
    {"ROL", ReadModify, "C <- (M) <- C\nrotate left through carry"},
    {"ROLA", Inherent, "C <- A <- C\nrotate A left through carry"},
    {"ROLX", Inherent, "C <- X <- C\nrotate X left through carry"},
    {"ROR", ReadModify, "C -> (M) -> C\nrotate right through carry"},
    {"RORA", Inherent, "C -> A -> C\nrotate A right through carry"},
    {"RORX", Inherent, "C -> X -> C\nrotate X right through carry"},
    {"RSP", Inherent, "SP = $xFF\nreset stack pointer"},
    {"RTI", Inherent, "pull CCR, A, X, PC\nreturn from interrupt"},
    {"RTS", Inherent, "pull PC\nreturn from subroutine"},
    {"SBC", Arithmetic, "A = A - (M) - C\nsubtract with carry"},
    {"SEC", Inherent, "C = 1\nset carry"},
    {"SEI", Inherent, "I = 1\nset interrupt mask"},
    {"STA", Store, "(M) = A\nstore A in memory"},
    {"STOP", Inherent, "I = 0\nenable IRQ, stop oscillator"},
    {"STX", Store, "(M) = X\nstore X in memory"},
    {"SUB", Arithmetic, "A = A - (M)\nsubtract"},
    {"SWI", Inherent, "store PC, X, A, CCR   PC = ($xFFC:$xFFD)\nsoftware interrupt"},
    {"TAX", Inherent, "X = A\ntransfer A to X"},
    {"TST", ReadModify, "(M) - 0\ntest for negative or zero"},
    {"TSTA", Inherent, "A - 0\ntest A for negative or zero"},
    {"TSTX", Inherent, "X - 0\ntest X for negative or zero"},
    {"TXA", Inherent, "A = X\ntransfer X to A"},
    {"WAIT", Inherent, "\nwait for IRQ pin low"},
}};

bool NameLess(const TReservedName& r, std::string_view name) { return r.name < name; }

}  // namespace

std::span<const TReservedName> ReservedNames() { return kNames; }

const TReservedName* FindReserved(std::string_view upperName) {
  const auto it = std::lower_bound(kNames.begin(), kNames.end(), upperName, NameLess);
  return it != kNames.end() && it->name == upperName ? &*it : nullptr;
}

std::span<const TReservedName> ReservedWithPrefix(std::string_view upperPrefix) {
  const auto first = std::lower_bound(kNames.begin(), kNames.end(), upperPrefix, NameLess);
  auto last = first;
  while (last != kNames.end() && last->name.starts_with(upperPrefix)) ++last;
  return {first, last};
}

int ClassMinOperands(uint8_t cls) {
  switch (cls) {
    case Inherent: return 0;
    case BitSet: return 2;
    case BitBranch: return 3;
    default: return 1;
  }
}

int ClassMaxOperands(uint8_t cls) {
  switch (cls) {
    case Inherent: return 0;
    case Arithmetic:
    case ReadModify:
    case Store:
    case Jump: return 2;
    case BitSet: return 2;
    case BitBranch: return 3;
    default: return 1;
  }
}

}  // namespace zarvek::hc05
