// Compiling small BASIC texts in tests and looking at the result.
#pragma once

#include <string>

#include "base/profile.h"
#include "compiler/compiler.h"
#include "text/hex.h"

namespace zarvek::test {

// Lines joined with CR LF, as the editor stores them.
inline std::string Lines(std::initializer_list<const char*> lines) {
  std::string text;
  for (const char* line : lines) text += std::string(line) + "\r\n";
  return text;
}

// What a test compiles: the text for a profile; callers add modules, labels, a cancel flag.
inline TCompileInput Input(const std::string& source, TProfile profile = profile::Pyxon32) {
  TCompileInput input;
  input.source = source;
  input.profile = profile;
  return input;
}

inline TCompileResult Compile(const std::string& source, TProfile profile = profile::Pyxon32) {
  TCompiler compiler;
  return compiler.CompileProgram(Input(source, profile));
}

// The first error as "code line:column message", or "no error".
inline std::string Describe(const TCompileResult& r) {
  if (r.success || !r.error) return "no error";
  return std::to_string(r.error->code) + " " + std::to_string(r.error->line) + ":" +
         std::to_string(r.error->column) + " " + r.error->message.str();
}

inline std::string Hex(const std::string& bytes) { return HexBytes(bytes); }

// The image of a program that must compile.
inline std::string ImageHex(const std::string& source, TProfile profile = profile::Pyxon32) {
  const TCompileResult r = Compile(source, profile);
  return r.success ? Hex(r.image) : "error " + std::to_string(r.error->code) + ": " + r.error->message.str();
}

// The first error as "code line:column message", or "no error".
inline std::string Error(const std::string& source, TProfile profile = profile::Pyxon32) {
  return Describe(Compile(source, profile));
}

// The first error's code, 0 when the program compiles.
inline int Code(const std::string& source, TProfile profile = profile::Pyxon32) {
  const TCompileResult r = Compile(source, profile);
  return r.success ? 0 : r.error->code;
}

// The statements' code without initialisation code, the final END and the table area.
inline std::string CodeHex(const std::string& source, TProfile profile = profile::Pyxon32) {
  const TCompileResult r = Compile(source, profile);
  if (!r.success) return "error " + std::to_string(r.error->code) + ": " + r.error->message.str();
  const size_t begin = r.initCodeLength, end = r.codeLength - 1;
  return Hex(r.image.substr(begin, end - begin));
}

}  // namespace zarvek::test
