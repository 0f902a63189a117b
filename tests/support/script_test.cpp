#include "tests/support/script_test.h"

#include "engine/script_loader.h"
#include "engine/script_source.h"
#include "engine/variables.h"

namespace ixo {

void ScriptTest::Load(const std::string& source) {
  source::AssembleResult assembled = source::Assemble(source, "test.ixs");
  ASSERT_FALSE(assembled.error) << assembled.error->ToString();
  LoadScriptLines(engine(), assembled.lines);
}

void ScriptTest::Run(const std::string& source) {
  Load(source);
  runner_.Run();
}

std::string ScriptTest::Var(const std::string& name) {
  int index = engine().variables.Find(name);
  if (index < 0) return "<missing>";
  const Variable& variable = engine().variables.at(index);
  return variable.elements.empty() ? "" : variable.elements[0];
}

}  // namespace ixo
