// Compiling small BASIC texts in tests and looking at the result.
#pragma once

#include <cstdio>
#include <string>

#include "compiler/compiler.h"

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

// Bytes as upper-case hex pairs separated by blanks ("14 00 05 FF").
inline std::string Hex(const std::string& bytes) {
  std::string text;
  char buffer[4];
  for (unsigned char b : bytes) {
    std::snprintf(buffer, sizeof buffer, text.empty() ? "%02X" : " %02X", b);
    text += buffer;
  }
  return text;
}

// The image of a program that must compile.
inline std::string ImageHex(const std::string& source, uint8_t profile = profile::Pyxon32) {
  const TCompileResult r = Compile(source, profile);
  return r.success ? Hex(r.image) : "error " + std::to_string(r.error->code) + ": " + r.error->message;
}

}  // namespace zarvek::test
