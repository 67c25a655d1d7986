#include "world/radio.hpp"

#include <algorithm>

#include "shell/basic.hpp"
#include "world/level_data_state.hpp"

namespace {

// A limited message is used up once its entry in the played list has reached the limit.
bool Ausgespielt(int32_t Nr, int32_t MaxAnzahl) {
  if (MaxAnzahl == 0) return false;
  return std::any_of(FunktionDaten.begin(), FunktionDaten.end(),
                     [&](const FunktionEintrag& e) { return e.Nr == Nr && e.Anzahl >= MaxAnzahl; });
}

}  // namespace

void AddFunktion(int32_t Nr) {
  // Timeline events and routes name messages by number; one the level lacks is no message.
  if (Nr < 0 || Nr > FunkmeldungenMax()) return;
  const Funkmeldung& m = Funkmeldungen[static_cast<size_t>(Nr)];
  if (Ausgespielt(Nr, m.MaxAnzahl)) return;
  if (m.FunkTextIndex < 0) return;  // nothing to say
  // A message still running gives way at once; the radio starts the new one on page 1.
  FunkStatus.Aktiv = VBTrue;
  FunkStatus.Meldung = Nr;
  FunkStatus.RestTicks = 0;
  FunkStatus.Seite = 0;
}
