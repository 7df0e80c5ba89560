// What the import command adds to the assembler part: the disassembly of an S-record file
// or of raw machine code (taken to start at 0x101); a ".CPO" file is a whole legacy
// project instead.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zarvek::workspace {

enum class TImportKind { SRecords, Binary, LegacyProject };

inline constexpr uint16_t kRawCodeStart = 0x101;

// By extension, in any case: ".S19", ".CPO", anything else is raw machine code.
TImportKind ImportKindOf(const std::string& fileName);

// The disassembly as editor text (CR LF line ends); for S-records with an error, the
// reader's error text.
std::string DisassemblyText(TImportKind kind, std::string_view bytes);

// The assembler text with the imported text appended on a line of its own.
std::string AppendText(const std::string& text, const std::string& appended);

}  // namespace zarvek::workspace
