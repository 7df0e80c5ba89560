#include "image_builder.h"

#include <sstream>

#include "hc05/assembler.h"
#include "hc05/asm_symbols.h"

namespace zarvek::tessel {
namespace {

using hc05::TRuntimeImage;

struct TMarker {
  size_t line = 0;  // index of the marker in the source
  uint16_t address = 0;
  std::string label;
  int fill = 0x31;  // an undefined opcode, so that a stray jump stops the emulator
  int padding = 0;
};

std::string Upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

bool ParseMarker(const std::string& line, size_t index, TMarker& marker, std::string& error) {
  std::istringstream in(line.substr(4));
  std::string address, label, fill;
  in >> address >> label >> fill;
  if (address.size() < 2 || address[0] != '$' || label.empty()) {
    error = "line " + std::to_string(index + 1) + ": marker needs \"*@AT $addr LABEL\"";
    return false;
  }
  marker.line = index;
  marker.address = static_cast<uint16_t>(std::stoul(address.substr(1), nullptr, 16));
  marker.label = Upper(label);
  if (!fill.empty()) marker.fill = std::stoi(fill, nullptr, 0) & 0xFF;
  return true;
}

// origin: the source line of each composed line (-1 for the builder's own lines).
std::vector<std::string> Compose(const std::vector<std::string>& source,
                                 const std::vector<TMarker>& markers, bool micro,
                                 std::vector<int>& origin) {
  std::vector<std::string> lines = {" ORG $0800", "MICRO EQU " + std::string(micro ? "1" : "0")};
  origin.assign(2, -1);
  size_t next = 0;
  for (size_t i = 0; i < source.size(); ++i) {
    if (next < markers.size() && markers[next].line == i) {
      for (int k = 0; k < markers[next].padding; ++k) {
        lines.push_back(" DB #" + std::to_string(markers[next].fill));
        origin.push_back(static_cast<int>(i));
      }
      ++next;
      continue;
    }
    lines.push_back(source[i]);
    origin.push_back(static_cast<int>(i));
  }
  return lines;
}

}  // namespace

TBuiltImage BuildImage(const std::vector<std::string>& source, bool micro) {
  TBuiltImage result;
  std::vector<TMarker> markers;
  for (size_t i = 0; i < source.size(); ++i) {
    if (source[i].rfind("*@AT", 0) != 0) continue;
    TMarker m;
    if (!ParseMarker(source[i], i, m, result.error)) return result;
    markers.push_back(m);
  }
  hc05::TAssembly assembly;
  hc05::TAssembler assembler;
  // Fill only moves later code (every code address is above $FF, so no operand changes
  // size); a few rounds settle every marker.
  for (int round = 0;; ++round) {
    std::vector<int> origin;
    const std::vector<std::string> lines = Compose(source, markers, micro, origin);
    assembler.PreRegisterLabels(lines);
    assembly = assembler.Assemble(lines, {});
    if (!assembly.success) {
      const auto line = static_cast<size_t>(assembly.error->line);
      result.error = "line " + std::to_string(origin[line] + 1) + " (" + lines[line] +
                     "): " + assembly.error->message;
      return result;
    }
    bool settled = true;
    for (TMarker& m : markers) {
      int index = 0;
      if (!assembler.FindSymbol(m.label, index)) {
        result.error = "marker label " + m.label + " is not defined";
        return result;
      }
      const auto value = hc05::AsmSymbolNumber(*assembler.Symbol(index));
      const int delta = static_cast<int>(m.address) - value.value_or(0);
      if (delta != 0) {
        settled = false;
        m.padding += delta;
        if (m.padding < 0) {
          result.error = "the code before " + m.label + " is " + std::to_string(-m.padding) +
                         " bytes too long for its fixed address";
          return result;
        }
        break;  // later markers move with this one
      }
    }
    if (settled) break;
    if (round > 4 * static_cast<int>(markers.size()) + 4) {
      result.error = "the fixed addresses do not settle";
      return result;
    }
  }
  if (assembly.startAddress != TRuntimeImage::kSystemAddress ||
      assembly.startAddress + assembly.code.size() != 0x2000) {
    result.error = "the image must run from $0800 to $1FFF, it ends at " +
                   std::to_string(assembly.startAddress + assembly.code.size());
    return result;
  }
  for (const auto& s : assembler.Symbols()) {
    const auto value = hc05::AsmSymbolNumber(s);
    if (value && *value >= 0 && *value <= 0xFFFF) {
      result.symbols[Upper(s.name)] = static_cast<uint16_t>(*value);
    }
  }
  auto block = [&](uint16_t address, uint16_t size) {
    return assembly.code.substr(address - TRuntimeImage::kSystemAddress, size);
  };
  TRuntimeImage& image = result.image;
  image.system = block(TRuntimeImage::kSystemAddress, TRuntimeImage::kSystemSize);
  image.identification = block(TRuntimeImage::kIdentificationAddress, TRuntimeImage::kIdentificationSize);
  image.table = block(TRuntimeImage::kTableAddress, TRuntimeImage::kTableSize);
  image.vectors = block(TRuntimeImage::kVectorsAddress, TRuntimeImage::kVectorsSize);

  // System code is what lies in front of the identification, less the fill.
  bool identificationPlaced = false;
  result.systemBytesUsed = TRuntimeImage::kSystemSize;
  for (const TMarker& m : markers) {
    if (m.address <= TRuntimeImage::kIdentificationAddress) {
      result.systemBytesUsed -= static_cast<uint32_t>(m.padding);
    }
    identificationPlaced |= m.address == TRuntimeImage::kIdentificationAddress;
  }
  if (!identificationPlaced) {
    result.error = "no marker places the identification at $1D76";
    return result;
  }
  // Identification: three zero-terminated lines, the first beginning with "TESEL".
  const std::string& id = image.identification;
  size_t zeros = 0, end = 0;
  for (size_t i = 0; i < id.size() && zeros < 3; ++i) {
    if (id[i] == 0) ++zeros, end = i + 1;
  }
  if (zeros < 3 || id.rfind("TESEL", 0) != 0) {
    result.error = "the identification needs three zero-terminated lines, the first beginning with TESEL";
    return result;
  }
  image.identification.replace(end, std::string::npos, id.size() - end, '\0');
  // The table ends where the fill in front of the vectors begins.
  for (const TMarker& m : markers) {
    if (m.address != TRuntimeImage::kVectorsAddress) continue;
    const int tableEnd = TRuntimeImage::kVectorsAddress - m.padding;
    if (tableEnd != TRuntimeImage::kTableAddress + TRuntimeImage::kTableSize) {
      result.error = "the table must be " + std::to_string(TRuntimeImage::kTableSize) +
                     " bytes, it is " + std::to_string(tableEnd - TRuntimeImage::kTableAddress);
      return result;
    }
  }
  result.ok = true;
  return result;
}

}  // namespace zarvek::tessel
