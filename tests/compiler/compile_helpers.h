// Compiling small BASIC texts in tests and looking at the result.
#pragma once

#include <string>

#include "compiler/compiler.h"
#include "text/hex.h"

namespace zarvek::test {

// Lines joined with CR LF, as the editor stores them.
inline std::string Lines(std::initializer_list<const char*> lines) {
  std::string text;
  for (const char* line : lines) text += std::string(line) + "\r\n";
  return text;
}

inline TCompileResult Compile(const std::string& source, uint8_t profile = profile::Pyxon32) {
  TCompiler compiler;
  TCompileInput input;
  input.source = source;
  input.profile = profile;
  return compiler.CompileProgram(input);
}

inline std::string Hex(const std::string& bytes) { return HexBytes(bytes); }

// The image of a program that must compile.
inline std::string ImageHex(const std::string& source, uint8_t profile = profile::Pyxon32) {
  const TCompileResult r = Compile(source, profile);
  return r.success ? Hex(r.image) : "error " + std::to_string(r.error->code) + ": " + r.error->message;
}

}  // namespace zarvek::test
