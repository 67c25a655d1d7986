#include "support/fresh_state.hpp"

#include "run/program_state.hpp"
#include "run/variabeln.hpp"

namespace testsupport {

void FreshState() {
  ResetProgramRunState();
  SetStartDefaults();
  VariabelnLösch();
}

}  // namespace testsupport
