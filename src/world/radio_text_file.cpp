#include "world/radio_text_file.hpp"

#include "campaign/ticker_state.hpp"
#include "platform/fs.hpp"
#include "run/program_state.hpp"
#include "shell/appdata.hpp"
#include "shell/basic.hpp"
#include "shell/config.hpp"

namespace {

// No radio text file of a level comes near this.
constexpr uint64_t kDateiGrenze = uint64_t{16} << 20;

}  // namespace

std::vector<FunkText> LeseFunkTexte(std::span<const uint8_t> bytes) {
  std::vector<FunkText> bloecke;
  bool imBlock = false;
  size_t i = 0;
  while (i < bytes.size()) {
    size_t ende = i;
    while (ende < bytes.size() && bytes[ende] != '\r' && bytes[ende] != '\n') ++ende;
    const std::string zeile = TrimBlanks(std::string_view(reinterpret_cast<const char*>(bytes.data() + i), ende - i));
    i = ende;
    if (i < bytes.size() && bytes[i] == '\r') ++i;
    if (i < bytes.size() && bytes[i] == '\n') ++i;

    if (!zeile.empty() && zeile.front() == '[') {
      imBlock = zeile.size() >= 2 && zeile.back() == ']';
      if (imBlock) bloecke.push_back(FunkText{zeile.substr(1, zeile.size() - 2), {}});
    } else if (zeile.empty()) {
      imBlock = false;
    } else if (imBlock) {
      bloecke.back().Zeilen.push_back(zeile);
    }
  }
  return bloecke;
}

void VerbindeFunkTexte(std::vector<Funkmeldung>& meldungen, const std::vector<FunkText>& texte) {
  for (Funkmeldung& m : meldungen) {
    m.FunkTextIndex = -1;
    for (size_t b = 0; b < texte.size(); ++b)
      if (SameText(texte[b].Name, m.TextBlock)) m.FunkTextIndex = static_cast<int32_t>(b);
  }
}

void LadeFunkTexte(const std::string& Ordner) {
  DebugLogWennAn("Lade Funkdatei");
  if (Spielstatus != 0) return;
  FunkTexte.clear();
  for (Funkmeldung& m : Funkmeldungen) m.FunkTextIndex = -1;
  const std::string datei = Ordner + FunkTextBasis + Sprache + ".txt";
  std::vector<uint8_t> bytes;
  if (FunkTextBasis.empty() || !platform::fs::FileExists(datei) ||
      !platform::fs::ReadAll(datei, bytes, kDateiGrenze)) {
    AddMsg("Textdatei nicht gefunden");
    return;
  }
  DebugLogWennAn("Geladen");
  FunkTexte = LeseFunkTexte(bytes);
  VerbindeFunkTexte(Funkmeldungen, FunkTexte);
}
