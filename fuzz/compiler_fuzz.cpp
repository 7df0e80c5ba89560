// No source text may crash the compiler or make it loop. The first byte picks the
// profile; the rest is the BASIC text.
#include <cstddef>
#include <cstdint>
#include <string>

#include "compiler/compiler.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  static const uint8_t kProfiles[] = {0, 1, 3, 4, 5, 2};
  zarvek::TCompiler compiler;
  zarvek::TCompileInput input;
  input.profile = kProfiles[data[0] % 6];
  input.source.assign(reinterpret_cast<const char*>(data + 1), size - 1);
  zarvek::TCompileResult result = compiler.CompileProgram(input);
  if (result.success) compiler.LinkAndWarn(result.image, {{"ASMLABEL", 300}}, true);
  return 0;
}
