#include "lib/level_desc.hpp"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <map>
#include <stdexcept>
#include <utility>
#include <vector>

namespace tools {
namespace {

using levelfile::Leveldaten;

// A description error, with the line it was found on.
struct Fehler : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// One line: its keyword, its plain words and its name=value words.
struct Zeile {
  int nummer = 0;
  std::string wort;
  std::vector<std::string> werte;
  std::vector<std::pair<std::string, std::string>> felder;
  std::vector<bool> benutzt;
};

[[noreturn]] void Wirf(const std::string& text) { throw Fehler(text); }

// Words separated by blanks; "double quotes" keep blanks in a word; # starts a comment.
Zeile Zerlege(const std::string& text, int nummer) {
  Zeile z;
  z.nummer = nummer;
  std::vector<std::string> woerter;
  size_t i = 0;
  while (i < text.size()) {
    const char c = text[i];
    if (c == ' ' || c == '\t' || c == '\r') {
      ++i;
    } else if (c == '#') {
      break;
    } else {
      std::string w;
      bool zitat = false;
      while (i < text.size() && (zitat || (text[i] != ' ' && text[i] != '\t' && text[i] != '\r' && text[i] != '#'))) {
        if (text[i] == '"')
          zitat = !zitat;
        else
          w += text[i];
        ++i;
      }
      if (zitat) Wirf("a quote is not closed");
      woerter.push_back(std::move(w));
    }
  }
  if (woerter.empty()) return z;
  // A line that begins with a name=value word goes on with the statement above.
  const bool weiter = woerter[0].find('=') != std::string::npos && woerter[0].find('=') > 0;
  if (!weiter) z.wort = woerter[0];
  for (size_t k = weiter ? 0 : 1; k < woerter.size(); ++k) {
    const size_t gleich = woerter[k].find('=');
    if (gleich != std::string::npos && gleich > 0)
      z.felder.emplace_back(woerter[k].substr(0, gleich), woerter[k].substr(gleich + 1));
    else
      z.werte.push_back(woerter[k]);
  }
  z.benutzt.assign(z.felder.size(), false);
  return z;
}

int32_t Ganz(const std::string& s) {
  int64_t v = 0;
  const char* ende = s.data() + s.size();
  auto [p, ec] = std::from_chars(s.data() + (s.size() > 1 && s[0] == '+' ? 1 : 0), ende, v);
  if (ec != std::errc() || p != ende || v < INT32_MIN || v > INT32_MAX) Wirf("'" + s + "' is not a whole number");
  return static_cast<int32_t>(v);
}

bool IstGanz(const std::string& s) {
  int64_t v = 0;
  const char* ende = s.data() + s.size();
  auto [p, ec] = std::from_chars(s.data(), ende, v);
  return ec == std::errc() && p == ende && !s.empty();
}

float Zahl(const std::string& s) {
  char* ende = nullptr;
  const float v = std::strtof(s.c_str(), &ende);
  if (s.empty() || *ende != '\0') Wirf("'" + s + "' is not a number");
  return v;
}

// "a,b,c": exactly `anzahl` parts.
std::vector<std::string> Teile(const std::string& s, size_t anzahl) {
  std::vector<std::string> v;
  size_t start = 0;
  while (true) {
    const size_t komma = s.find(',', start);
    v.push_back(s.substr(start, komma - start));
    if (komma == std::string::npos) break;
    start = komma + 1;
  }
  if (v.size() != anzahl) Wirf("'" + s + "' needs " + std::to_string(anzahl) + " values separated by commas");
  return v;
}

std::vector<float> Zahlen(const std::string& s, size_t anzahl) {
  std::vector<float> v;
  for (const std::string& t : Teile(s, anzahl)) v.push_back(Zahl(t));
  return v;
}

// The codes of the route variables, for terms written by name.
const std::map<std::string, float>& TermNamen() {
  static const std::map<std::string, float> namen = [] {
    std::map<std::string, float> m = {
        {"tick", 32756},     {"speed", 32757},     {"y", 32758},        {"x", 32759},      {"ay", 32760},
        {"ltick", 32761},    {"shipy", 32762},     {"shipx", 32763},    {"bottom", 32764}, {"right", 32765},
        {"negheight", 32766}, {"negwidth", 32767}, {"hp", 32768},       {"twoplayer", 32769},
        {"shiptype", 32784}, {"lt", -2},           {"le", -1},          {"eq", 0},         {"ge", 1},
        {"gt", 2}};
    for (int i = 0; i < 8; ++i) m["vari" + std::to_string(i)] = static_cast<float>(32755 - i);
    for (int i = 0; i < 14; ++i) m["gvar" + std::to_string(i)] = static_cast<float>(32770 + i);
    return m;
  }();
  return namen;
}

const std::array<const char*, 45> kBefehle = {
    "place", "arrive", "move",   "accelmove", "step",  "wait",      "speed",  "frame",  "fire",
    "set",   "random", "label",  "goto",      "if",    "else",      "endif",  "ifland", "gset",
    "gget",  "anim",   "div",    "mul",       "polar", "angle",     "layerspeed", "layershift",
    "magnify", "look", "floor",  "sound",     "soundstop", "shake", "nop",    "particle",
    "lightning", "for", "next",  "bubble",    "radio", "animlayer", "dist",   "noise",  "special",
    "target", "ifgone"};

const std::array<const char*, 16> kParameter = {"landdeath", "ram",   "dirframes", "deathseq",  "deathshot", "passthrough",
                                                "novaimmune", "launch", "solid",     "spawn",     "flash",     "split",
                                                "boss",      "wreck", "routeexit", "shatter"};

float TermTeil(const std::string& s) {
  const bool minus = !s.empty() && s[0] == '-';
  const std::string name = minus ? s.substr(1) : s;
  auto it = TermNamen().find(name);
  if (it != TermNamen().end()) return minus ? -it->second : it->second;
  return Zahl(s);
}

// "A" or "A+B".
std::pair<float, float> Term(const std::string& s) {
  for (size_t i = 1; i < s.size(); ++i)
    if (s[i] == '+' && s[i - 1] != 'e' && s[i - 1] != 'E') return {TermTeil(s.substr(0, i)), TermTeil(s.substr(i + 1))};
  return {TermTeil(s), 0.0f};
}

enum Katalog { kSprite, kGegner, kRoute, kAnima, kErzeuger, kSchuss, kSound, kFunk, kKataloge };
const std::array<const char*, kKataloge> kKatalogWort = {"sprite", "enemy", "route", "animation", "generator",
                                                         "shottype", "sound", "radio"};

class Leser {
 public:
  explicit Leser(Leveldaten& d) : d_(d) {}

  // First pass: the names of every catalogue's records, so that any record may name
  // another one written further down.
  void Namen(const Zeile& z) {
    for (int k = 0; k < kKataloge; ++k)
      if (z.wort == kKatalogWort[k]) {
        if (z.werte.empty()) Wirf(z.wort + " needs a name");
        namen_[k].push_back(z.werte[0]);
      }
  }

  void Lies(Zeile& z) {
    z_ = &z;
    const std::string& w = z.wort;
    if (w == "background") d_.Hintergrund = Wert(0);
    else if (w == "length") d_.LevelLaenge = Ganz(Wert(0));
    else if (w == "water") d_.Wasserstand = Ganz(Wert(0));
    else if (w == "rain") d_.RegenAnzahl = Ganz(Wert(0));
    else if (w == "gravity") d_.Schwerkraft = Zahl(Wert(0));
    else if (w == "music") d_.MusikDatei = Wert(0);
    else if (w == "water_name") d_.WasserName = Wert(0);
    else if (w == "water_colours") {
      for (size_t i = 0; i < 6; ++i) d_.WasserDaten[i] = Zahl(Wert(i));
    } else if (w == "radio_texts") d_.FunkTextBasis = Wert(0);
    else if (w == "sprite") Sprite();
    else if (w == "frame") Frame();
    else if (w == "enemy") Gegner();
    else if (w == "part") Teil();
    else if (w == "route") Route_();
    else if (w == "cmd") Befehl();
    else if (w == "layer") Ebene();
    else if (w == "at") Ereignis();
    else if (w == "animation") Anima();
    else if (w == "entry") Eintrag();
    else if (w == "key") Key();
    else if (w == "generator") Erzeuger();
    else if (w == "salvo") Salve();
    else if (w == "shottype") Schuss();
    else if (w == "sound") Sound();
    else if (w == "radio") Funk();
    else Wirf("unknown keyword '" + w + "'");
    for (size_t i = 0; i < z.felder.size(); ++i)
      if (!z.benutzt[i]) Wirf("'" + z.felder[i].first + "' does not belong to " + w);
  }

 private:
  const std::string& Wert(size_t i) {
    if (i >= z_->werte.size()) Wirf(z_->wort + " needs " + std::to_string(i + 1) + " value(s)");
    return z_->werte[i];
  }
  const std::string* Feld(const char* name) {
    for (size_t i = 0; i < z_->felder.size(); ++i)
      if (z_->felder[i].first == name) {
        z_->benutzt[i] = true;
        return &z_->felder[i].second;
      }
    return nullptr;
  }
  void G(const char* name, int32_t& v) {
    if (const std::string* s = Feld(name)) v = Ganz(*s);
  }
  void G(const char* name, int16_t& v) {
    if (const std::string* s = Feld(name)) v = static_cast<int16_t>(Ganz(*s));
  }
  void F(const char* name, float& v) {
    if (const std::string* s = Feld(name)) v = Zahl(*s);
  }
  template <size_t N>
  void Fs(const char* name, const std::array<float*, N>& ziele) {
    if (const std::string* s = Feld(name)) {
      const std::vector<float> v = Zahlen(*s, N);
      for (size_t i = 0; i < N; ++i) *ziele[i] = v[i];
    }
  }
  // A record of catalogue k: its index, or -1 when the text is -1; a number is taken as
  // an index as it is.
  int32_t Verweis(Katalog k, const std::string& s) {
    if (IstGanz(s)) return Ganz(s);
    const std::vector<std::string>& n = namen_[k];
    for (size_t i = n.size(); i-- > 0;)
      if (n[i] == s) return static_cast<int32_t>(i);
    Wirf("there is no " + std::string(kKatalogWort[k]) + " '" + s + "'");
  }
  void V(const char* name, Katalog k, int32_t& v) {
    if (const std::string* s = Feld(name)) v = Verweis(k, *s);
  }
  template <class T>
  T& Letzter(std::vector<T>& v, const char* wer, const char* wo) {
    if (v.empty()) Wirf(std::string(wer) + " must follow a " + wo);
    return v.back();
  }

  void Sprite() {
    SpriteDef& s = d_.SpriteDefs.emplace_back();
    s.Name = Wert(0);
    G("d3d", s.D3DSprite);
  }
  void Frame() {
    SpriteFrame& f = Letzter(d_.SpriteDefs, "frame", "sprite").Frames.emplace_back();
    f.Bild = Wert(0);
    if (z_->werte.size() > 1) {
      f.Left = Ganz(Wert(1));
      f.Top = Ganz(Wert(2));
      f.Right = Ganz(Wert(3));
      f.Bottom = Ganz(Wert(4));
    }
    G("delay", f.Zeit);
  }

  void Gegner() {
    GegnerTyp& t = d_.GegnerTypen.emplace_back();
    t.Name = Wert(0);
    t.Speed = 1;
    F("hp", t.HP);
    F("speed", t.Speed);
    for (size_t p = 0; p < 16; ++p) {
      G(("p" + std::to_string(p)).c_str(), t.Parameter[p]);
      G(kParameter[p], t.Parameter[p]);
    }
    // The enemy a component launches: a template and a route.
    if (const std::string* s = Feld("launches")) {
      const size_t komma = s->find(',');
      if (komma == std::string::npos) Wirf("launches needs a template and a route separated by a comma");
      t.Parameter[7] = Verweis(kGegner, s->substr(0, komma)) + 1000 * Verweis(kRoute, s->substr(komma + 1));
    }
    letzterTeil_ = kGegner;
  }
  void GegnerTeil() {
    Feindkomponente& k = Letzter(d_.GegnerTypen, "part", "enemy").Komponenten.emplace_back();
    k.R = k.G = k.B = k.A = 1;
    k.RouteNr = -1;
    k.Erzeuger = -1;
    k.Sprite = -1;
    V("sprite", kSprite, k.Sprite);
    F("x", k.OffsetX);
    F("y", k.OffsetY);
    V("route", kRoute, k.RouteNr);
    G("ownroute", k.RouteAn);
    Fs<4>("colour", {&k.R, &k.G, &k.B, &k.A});
    F("angle", k.Drehung);
    G("hitsenemy", k.TrefferAufGegner);
    F("hp", k.HP);
    G("killsenemy", k.VerlustToetet);
    G("undamageable", k.Unzerstörbar);
    V("generator", kErzeuger, k.Erzeuger);
    G("fire", k.FeuerModus);
  }
  // "part" belongs to the enemy or the animation written last.
  void Teil() {
    if (letzterTeil_ == kGegner) return GegnerTeil();
    if (letzterTeil_ != kAnima) Wirf("part must follow an enemy or an animation");
    AnimaTeilTyp& t = Letzter(d_.AnimaTypen, "part", "animation").Teile.emplace_back();
    t.Sprite = -1;
    V("sprite", kSprite, t.Sprite);
    t.Keys.resize(1);  // the spare key
  }

  void Route_() { d_.Routen.emplace_back().Name = Wert(0); }
  void Befehl() {
    RoutenBefehl& b = Letzter(d_.Routen, "cmd", "route").Befehle.emplace_back();
    const std::string& op = Wert(0);
    b.Befehl = -1;
    for (size_t i = 0; i < kBefehle.size(); ++i)
      if (op == kBefehle[i]) b.Befehl = static_cast<int32_t>(i);
    if (b.Befehl < 0) b.Befehl = Ganz(op);
    for (size_t i = 1; i < z_->werte.size(); ++i) {
      const auto [a, bb] = Term(z_->werte[i]);
      b.A.push_back(a);
      b.B.push_back(bb);
    }
  }

  void Ebene() {
    ebene_ = Ganz(Wert(0));
    if (ebene_ < 0 || ebene_ > 6) Wirf("layers are 0 to 6");
    F("speed", d_.Ebenen[ebene_].Speed);
  }
  void Ereignis() {
    if (ebene_ < 0) Wirf("at must follow a layer");
    LevelEreignis& e = d_.Ebenen[ebene_].Ereignisse.emplace_back();
    e.Tick = Ganz(Wert(0));
    const std::string& typ = Wert(1);
    struct Art {
      bool ebene4;
      const char* name;
      int32_t typ;
      std::array<const char*, 3> felder;
      std::array<int, 3> kataloge;  // -1: a plain number
    };
    static const Art arten[] = {
        {true, "enemy", 0, {"template", "route", "y"}, {kGegner, kRoute, -1}},
        {true, "sound", 1, {"sound", "mode", nullptr}, {kSound, -1, -1}},
        {true, "radio", 2, {"message", nullptr, nullptr}, {kFunk, -1, -1}},
        {false, "item", 0, {"sprite", "z", "y"}, {kSprite, -1, -1}},
        {false, "animation", 1, {nullptr, "animation", "y"}, {-1, kAnima, -1}},
        {false, "checkpoint", 3, {"height", nullptr, "y"}, {-1, -1, -1}},
        {false, "checkpoint2", 7, {"height", nullptr, "y"}, {-1, -1, -1}},
    };
    const Art* art = nullptr;
    for (const Art& a : arten)
      if (a.ebene4 == (ebene_ == 4) && (typ == a.name || (IstGanz(typ) && Ganz(typ) == a.typ))) art = &a;
    e.Typ = art ? art->typ : Ganz(typ);
    std::array<int32_t*, 3> p = {&e.P1, &e.P2, &e.P3};
    for (size_t i = 0; i < 3; ++i) {
      const int katalog = art ? art->kataloge[i] : -1;
      auto lies = [&](const std::string& s) {
        *p[i] = katalog < 0 ? Ganz(s) : Verweis(static_cast<Katalog>(katalog), s);
      };
      if (i + 2 < z_->werte.size()) lies(z_->werte[i + 2]);
      if (const std::string* s = Feld(("p" + std::to_string(i + 1)).c_str())) lies(*s);
      if (art && art->felder[i])
        if (const std::string* s = Feld(art->felder[i])) lies(*s);
    }
  }

  void Anima() {
    AnimaTypDaten& a = d_.AnimaTypen.emplace_back();
    a.Name = Wert(0);
    G("period", a.Periode);
    G("loop", a.Schleife);
    G("scroll", a.Scrollt);
    letzterTeil_ = kAnima;
  }
  void Eintrag() {
    AnimaSpriteEintrag& e = Letzter(d_.AnimaTypen, "entry", "animation").SpriteEintraege.emplace_back();
    e.Zahl1 = Ganz(Wert(0));
    e.Zahl2 = Ganz(Wert(1));
    if (z_->werte.size() > 7) Wirf("entry holds two numbers and at most five names");
    for (size_t i = 2; i < z_->werte.size(); ++i) e.Namen[i - 2] = z_->werte[i];
  }
  void Key() {
    AnimaTypDaten& a = Letzter(d_.AnimaTypen, "key", "animation");
    AnimaTeilTyp& t = Letzter(a.Teile, "key", "part");
    // Before the spare key.
    AnimaKeyframe& k = *t.Keys.insert(t.Keys.end() - 1, AnimaKeyframe{});
    k.Tick = Ganz(Wert(0));
    k.R = k.G = k.B = k.A = 1;
    k.ZoomX = k.ZoomY = 1;
    k.Frame = -1;
    k.Sichtbar = -1;
    F("x", k.PosX);
    F("y", k.PosY);
    Fs<4>("colour", {&k.R, &k.G, &k.B, &k.A});
    G("angle", k.Winkel);
    Fs<2>("zoom", {&k.ZoomX, &k.ZoomY});
    G("frame", k.Frame);
    G("motion", k.Bewegung);
    F("speed", k.Speed);
    G("visible", k.Sichtbar);
    G("additive", k.Additiv);
  }

  void Erzeuger() {
    ErzeugerTypDaten& e = d_.ErzeugerTypen.emplace_back();
    e.Name = Wert(0);
    G("turret", e.Drehturm);
  }
  void Salve() {
    ErzeugerSalve& s = Letzter(d_.ErzeugerTypen, "salvo", "generator").Salven.emplace_back();
    int32_t schuesse = 1;
    G("delay", s.Verzoegerung);
    G("shots", schuesse);
    s.Anzahl = schuesse - 1;
    G("interval", s.Abstand);
    G("aimed", s.Gezielt);
    V("route", kRoute, s.RouteNr);
    if (const std::string* b = Feld("burst")) {
      s.Platzt = 1;
      s.PlatztErzeuger = Verweis(kErzeuger, *b);
    }
    G("unblockable", s.Unblockbar);
    F("hp", s.HP);
    F("speed", s.Speed);
    F("x", s.OffsetX);
    F("y", s.OffsetY);
    V("shot", kSchuss, s.SchussTyp);
    G("edge", s.RandWeg);
    G("pierce", s.Durchschlag);
  }

  void Schuss() {
    SchussTypDaten& t = d_.SchussTypen.emplace_back();
    t.Name = Wert(0);
    t.Sprite = -1;
    G("look", t.Aussehen);
    V("sprite", kSprite, t.Sprite);
    if (const std::string* s = Feld("box")) {
      const std::vector<std::string> b = Teile(*s, 4);
      t.BoxLeft = Ganz(b[0]);
      t.BoxTop = Ganz(b[1]);
      t.BoxRight = Ganz(b[2]);
      t.BoxBottom = Ganz(b[3]);
    }
    G("glow", t.Leuchten);
    G("landscape", t.DurchLandschaft);
    G("trail", t.Spur);
    G("rotate", t.Drehen);
    Fs<3>("colour", {&t.R, &t.G, &t.B});
    G("fadein", t.Einblenden);
    V("sound", kSound, t.Sound);
  }

  void Sound() {
    LevelSoundDatei& s = d_.Sounds.emplace_back();
    s.Name = Wert(0);
    G("copies", s.Kopien);
  }
  void Funk() {
    Funkmeldung& f = d_.Funkmeldungen.emplace_back();
    f.TextBlock = Wert(0);
    f.Sprecher = "0";
    if (const std::string* s = Feld("speaker")) f.Sprecher = *s;
    G("max", f.MaxAnzahl);
    G("value", f.Wert);
  }

  Leveldaten& d_;
  Zeile* z_ = nullptr;
  std::array<std::vector<std::string>, kKataloge> namen_;
  int ebene_ = -1;
  int letzterTeil_ = -1;
};

}  // namespace

bool ParseLevelDescription(const std::string& text, levelfile::Leveldaten& level, std::string& error) {
  level = levelfile::Leveldaten{};
  std::vector<Zeile> zeilen;
  int nummer = 0;
  try {
    size_t start = 0;
    while (start <= text.size()) {
      const size_t ende = text.find('\n', start);
      ++nummer;
      Zeile z = Zerlege(text.substr(start, ende == std::string::npos ? std::string::npos : ende - start), nummer);
      if (!z.wort.empty()) {
        zeilen.push_back(std::move(z));
      } else if (!z.felder.empty() || !z.werte.empty()) {
        if (zeilen.empty() || !z.werte.empty()) Wirf("a line may only go on with name=value words");
        for (auto& feld : z.felder) {
          zeilen.back().felder.push_back(std::move(feld));
          zeilen.back().benutzt.push_back(false);
        }
      }
      if (ende == std::string::npos) break;
      start = ende + 1;
    }
    Leser leser(level);
    for (const Zeile& z : zeilen) {
      nummer = z.nummer;
      leser.Namen(z);
    }
    for (Zeile& z : zeilen) {
      nummer = z.nummer;
      leser.Lies(z);
    }
  } catch (const Fehler& f) {
    error = "line " + std::to_string(nummer) + ": " + f.what();
    return false;
  }
  return true;
}

}  // namespace tools
