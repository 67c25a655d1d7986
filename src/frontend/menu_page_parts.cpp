#include "frontend/menu_page_parts.hpp"

#include <algorithm>

#include "campaign/highscore.hpp"
#include "engine/display.hpp"
#include "engine/render.hpp"
#include "engine/text.hpp"
#include "platform/codepage.hpp"
#include "player/players_state.hpp"
#include "shell/basic.hpp"
#include "shell/config.hpp"
#include "shell/msgbox.hpp"

Dreisprachig::Dreisprachig(const char* d, const char* e, const char* r)
    : D(platform::Utf8ToCp1252(d)), E(platform::Utf8ToCp1252(e)), R(Cyr(r)) {}

const std::string& Dreisprachig::Gewaehlt() const {
  if (Sprache == "R") return R;
  if (Sprache == "D") return D;
  return E;
}

const std::string* Dreisprachig::Genau() const {
  if (Sprache == "D") return &D;
  if (Sprache == "E") return &E;
  if (Sprache == "R") return &R;
  return nullptr;
}

void TextZeile(int32_t i, const std::string& text, int16_t farbe) {
  MenuLauf.Text.Zeile[static_cast<size_t>(i)] = text;
  MenuLauf.Text.Farbe[static_cast<size_t>(i)] = farbe;
}

BackBufferSchrift::BackBufferSchrift(const char* font, int16_t hoehe) {
  RenderEnd();
  if (!BackBuffer) throw DXError(platform::DDERR_INVALIDOBJECT);
  DXCheck(platform::GetDC(*BackBuffer, TextDC));
  GdiSetFont(TextDC, font, hoehe);
}

BackBufferSchrift::~BackBufferSchrift() {
  GdiDeleteFont(TextDC);
  if (BackBuffer) platform::ReleaseDC(*BackBuffer, TextDC);
  TextDC = 0;
}

void BackBufferSchrift::Text(const std::string& text, double x, double y, int32_t farbe) const {
  GdiTextOut(text, CInt(x), CInt(y), TextDC, farbe, 0, false);
}

float BackBufferSchrift::Breite(const std::string& text) const {
  float w = 0, h = 0;
  GdiTextSize(TextDC, text, w, h);
  return w;
}

int32_t LautstaerkeStufe(int32_t v) {
  const int32_t stufe = CLng((static_cast<double>(v) + 5000) / 50);
  return stufe < 0 ? 0 : stufe;
}

int32_t LautstaerkeSchritt(int32_t v) {
  v += 250;
  if (v < -5000) v = -4500;
  if (v > 0) v = -10000;
  return v;
}

int32_t MusikSchritt(int32_t v) {
  v += 5;
  return v > 100 ? 0 : v;
}

int32_t Durchgaenge(int32_t hoechstens) { return std::clamp(BesterDurchgang, 0, hoechstens); }

void NameTippen(std::string& name, int32_t zeichen) {
  if (zeichen == 8) {
    if (!name.empty()) name.pop_back();
  } else if (zeichen >= 32 && zeichen <= 255 && name.size() < kNameLaengeMax) {
    name += static_cast<char>(zeichen);
  }
}

std::string StandardName(int32_t spieler) { return "Player " + std::to_string(spieler + 1); }

void HighscoreTagZiehen(int32_t n) {
  const int32_t basis = Durchgaenge(kTagBasisMax) * 10000;
  int32_t& tag = Spieler[static_cast<size_t>(n)].HighscoreNr;
  do {
    tag = static_cast<int32_t>(Int(Rnd() * 10000.0)) + basis;
  } while (!HighscoreIdUnused(tag) || Spieler[0].HighscoreNr == Spieler[1].HighscoreNr);
}

int32_t KeyPageDevice(int32_t keySet) {
  const int32_t d = KeyConfig.KeyDevice[static_cast<size_t>(std::clamp(keySet, 0, 2))];
  return d >= 0 && d <= 2 ? d : 0;
}

std::string StaerkeText(int32_t basis) {
  // Tenths, rounded as the number format rounds (half away from zero).
  const int64_t zehntel = (static_cast<int64_t>(basis) + (basis >= 0 ? 50 : -50)) / 100;
  const int64_t betrag = zehntel < 0 ? -zehntel : zehntel;
  return std::string(zehntel < 0 ? "-" : "") + std::to_string(betrag / 10) + platform::UserDecimalPoint() +
         std::to_string(betrag % 10);
}
