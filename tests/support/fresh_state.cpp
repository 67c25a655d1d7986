#include "support/fresh_state.hpp"

#include "run/program_state.hpp"
#include "run/variabeln.hpp"
#include "shell/basic.hpp"

namespace testsupport {

void FreshState() {
  ResetProgramRunState();
  SetStartDefaults();
  VariabelnLösch();
  SetRndState(kRndStartState);
}

}  // namespace testsupport
