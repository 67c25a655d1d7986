#include "support/fresh_state.hpp"

#include "run/program_state.hpp"
#include "run/variabeln.hpp"
#include "shell/appdata.hpp"
#include "shell/basic.hpp"

namespace testsupport {

void FreshState() {
  ResetProgramRunState();
  SetStartDefaults();
  VariabelnLösch();
  SetRndState(kRndStartState);
}

TempDataFolder::TempDataFolder() : vorher_(DatenOrdner) { DatenOrdner = dir_.path(); }
TempDataFolder::~TempDataFolder() { DatenOrdner = vorher_; }

}  // namespace testsupport
