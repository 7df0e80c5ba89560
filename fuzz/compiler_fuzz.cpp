// No source text may crash the compiler or make it loop. The first byte picks the
// profile; the rest is the BASIC text.
#include <cstddef>
#include <cstdint>
#include <string>

#include "compiler/compiler.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  static const zarvek::TProfile kProfiles[] = {zarvek::TProfile::Tessel11, zarvek::TProfile::TesselMicro,
                                               zarvek::TProfile::Tessel20, zarvek::TProfile::Pyxon32,
                                               zarvek::TProfile::Pyxon128};
  zarvek::TCompiler compiler;
  zarvek::TCompileInput input;
  input.profile = kProfiles[data[0] % 5];
  input.source.assign(reinterpret_cast<const char*>(data + 1), size - 1);
  zarvek::TCompileResult result = compiler.CompileProgram(input);
  if (result.success) compiler.LinkAndWarn(result.image, {{"ASMLABEL", 300}}, true);
  return 0;
}
