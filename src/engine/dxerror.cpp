#include "engine/dxerror.hpp"

#include "shell/appdata.hpp"
#include "shell/msgbox.hpp"
#include "shell/program.hpp"

void ShowDXError(int32_t Nummer, int32_t Komponente, const std::string& Zusatz) {
  DebugLog("-----CRASH: " + std::to_string(Nummer) + " (" + std::to_string(Komponente) + ") " + Zusatz);
  MsgBox(Zusatz.empty() ? "DirectX error " + std::to_string(Nummer) : Zusatz, 16, "Harvo");
}
