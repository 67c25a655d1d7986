#include "support/fresh_state.hpp"

#include "shell/program_state.hpp"
#include "shell/variabeln.hpp"

namespace testsupport {

void FreshState() {
  ResetProgramRunState();
  SetStartDefaults();
  VariabelnLösch();
}

}  // namespace testsupport
