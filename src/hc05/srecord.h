// Motorola S-record files as the import command reads them: the S1 data records form one
// contiguous block, which is disassembled.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zarvek::hc05 {

struct TSRecordBlock {
  std::string bytes;   // the data of the S1 records in order
  uint16_t start = 0;  // the first S1 record's address
  std::string error;   // empty on success, else one "ERROR! ..." text
};

// Reads S1 records until an S5 or S9 record. Other record types are skipped up to the next
// "S". Hex digits are upper case only; checksums must be present but are not compared.
TSRecordBlock ParseSRecords(std::string_view text);

// The disassembly of the block as editor text (CR LF line ends), or the error text alone.
std::string ReadSRecords(std::string_view text);

}  // namespace zarvek::hc05
