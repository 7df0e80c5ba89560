// Hand-assembling token programs for tests: tokens, operands, labels with forward
// references, and statement starts for the line table.
#pragma once

#include <cstdint>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "runtime/interpreter.h"
#include "base/tokens.h"

namespace zarvek::test {

class TTokenProgram {
 public:
  // Token address of the next byte (image offset + 4).
  uint16_t Here() const { return static_cast<uint16_t>(m_bytes.size() + 4); }

  TTokenProgram& Op(uint8_t token) { return Byte(token); }
  TTokenProgram& Op(uint8_t token, uint8_t operand) { return Byte(token).Byte(operand); }
  TTokenProgram& OpWord(uint8_t token, uint16_t value) { return Byte(token).Word(value); }
  TTokenProgram& PushW(uint16_t value) { return OpWord(tok::PUSHW, value); }
  TTokenProgram& PushB(uint8_t value) { return Op(tok::PUSHB, value); }
  TTokenProgram& PrintStr(const std::string& text) {
    Byte(tok::PRINTSTR);
    for (char c : text) Byte(static_cast<uint8_t>(c));
    return Byte(0);
  }
  // A token with a 16-bit address operand naming a label.
  TTokenProgram& To(uint8_t token, const std::string& label) {
    Byte(token);
    return Ref(label);
  }
  TTokenProgram& Handler(uint8_t kind, const std::string& label) {
    Byte(tok::SETHANDLER).Byte(kind);
    return Ref(label);
  }
  TTokenProgram& Label(const std::string& name) {
    m_labels[name] = Here();
    return *this;
  }
  // Starts a statement: a line record at the current offset for the given editor line.
  TTokenProgram& Statement(uint32_t line) {
    const uint32_t offset = static_cast<uint32_t>(m_bytes.size());
    m_lines.push_back(TLineRecord{offset, line, 1000 + line, kMainSourceOrigin, 0});
    return *this;
  }
  TTokenProgram& Byte(uint8_t b) {
    m_bytes.push_back(b);
    return *this;
  }
  TTokenProgram& Word(uint16_t w) { return Byte(static_cast<uint8_t>(w >> 8)).Byte(static_cast<uint8_t>(w)); }

  uint16_t Address(const std::string& label) const {
    const auto it = m_labels.find(label);
    if (it == m_labels.end()) throw std::logic_error("undefined label " + label);
    return it->second;
  }

  std::string Image() const {
    std::string image(m_bytes.begin(), m_bytes.end());
    for (const auto& [at, label] : m_refs) {
      const uint16_t a = Address(label);
      image[at] = static_cast<char>(a >> 8);
      image[at + 1] = static_cast<char>(a);
    }
    return image;
  }
  const std::vector<TLineRecord>& Lines() const { return m_lines; }

 private:
  TTokenProgram& Ref(const std::string& label) {
    m_refs.emplace_back(m_bytes.size(), label);
    return Word(0);
  }

  std::vector<uint8_t> m_bytes;
  std::map<std::string, uint16_t> m_labels;
  std::vector<std::pair<size_t, std::string>> m_refs;
  std::vector<TLineRecord> m_lines;
};

}  // namespace zarvek::test
