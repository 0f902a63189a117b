// Fuzz target: numeric expressions and conditions as any parameter may hold them.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string_view>

#include "app/headless_runner.h"
#include "engine/condition.h"
#include "engine/numeric_expression.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  ixo::IsNumericExpression(text);
  ixo::EvaluateNumber(text, -7);
  ixo::EvaluateConditionCode(text);
  std::ostringstream out, err;
  ixo::HeadlessRunner runner(out, err);
  ixo::EvaluateCondition(runner.engine(), text);
  return 0;
}
