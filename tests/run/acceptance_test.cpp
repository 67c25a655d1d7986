// The whole game once through on the headless backend, as the end-to-end acceptance run
// plays it on a desktop: a new game for one player in the V-Phyton, the first level
// paused once, saved in slot 3, the second level left through the pause screen's Exit,
// the score page, slot 3 loaded, the second level to its end, the ending, the menu's
// Exit. A watcher looks at the game every 100 ms of the virtual clock and presses the
// keys of the stage it finds; "-Tick 4200" keeps the levels short.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "campaign/game_loop_state.hpp"
#include "campaign/highscore.hpp"
#include "campaign/highscore_state.hpp"
#include "campaign/pause_screen_state.hpp"
#include "campaign/save_screen_state.hpp"
#include "frontend/effects_state.hpp"
#include "frontend/menu_state.hpp"
#include "platform/headless/headless.hpp"
#include "player/players_state.hpp"
#include "run/program.hpp"
#include "run/program_state.hpp"
#include "shell/appdata.hpp"
#include "shell/config.hpp"
#include "support/support.hpp"

namespace {

namespace headless = platform::headless;
using testsupport::IsolatedHome;

constexpr int kEscape = 1, kReturn = 28, kSpace = 57, kUp = 200, kDown = 208;
constexpr uint64_t kBlick = 100;  // ms of the virtual clock between two looks

// --- Golden frames: a 100 x 75 thumbnail of the frame, compared with a tolerance --------

constexpr int kDaumenB = 100, kDaumenH = 75;

std::vector<uint8_t> Daumen() {
  const headless::RecordedFrame& f = headless::LastFrame();
  std::vector<uint8_t> d(static_cast<size_t>(kDaumenB) * kDaumenH * 3, 0);
  if (f.bitsPerPixel != 32 || f.width < kDaumenB || f.height < kDaumenH) return d;
  const int sx = f.width / kDaumenB, sy = f.height / kDaumenH;
  for (int y = 0; y < kDaumenH; ++y)
    for (int x = 0; x < kDaumenB; ++x)
      for (int c = 0; c < 3; ++c) {
        uint32_t summe = 0;
        for (int j = 0; j < sy; ++j)
          for (int i = 0; i < sx; ++i) {
            const size_t o = static_cast<size_t>(y * sy + j) * f.pitch + static_cast<size_t>(x * sx + i) * 4;
            summe += f.pixels[o + 2 - c];  // B G R X in memory: red first in the thumbnail
          }
        d[(static_cast<size_t>(y) * kDaumenB + x) * 3 + c] = static_cast<uint8_t>(summe / (sx * sy));
      }
  return d;
}

std::string PpmKopf() { return "P6\n" + std::to_string(kDaumenB) + " " + std::to_string(kDaumenH) + "\n255\n"; }

// "" when the thumbnail is close to its reference: a mean difference of at most 6 of 255
// per channel (the sparkles and the ship's flight differ from run to run of the program,
// the screen's make-up does not). With HARVO_UPDATE_GOLDEN=1 the reference is written.
std::string MitGoldenVergleichen(const std::string& name, const std::vector<uint8_t>& d) {
  const std::string pfad = testsupport::SourceDir() + "/tests/run/golden/acceptance_" + name + ".ppm";
  if (testsupport::UpdatingGolden()) {
    std::string text = PpmKopf();
    text.append(d.begin(), d.end());
    testsupport::WriteText(pfad, text);
    return "";
  }
  const std::vector<uint8_t> ref = testsupport::ReadBytes(pfad);
  const size_t kopf = PpmKopf().size();
  if (ref.size() != kopf + d.size()) return name + ": no reference " + pfad;
  double summe = 0;
  for (size_t i = 0; i < d.size(); ++i) summe += std::abs(int{ref[kopf + i]} - int{d[i]});
  const double mittel = summe / static_cast<double>(d.size());
  if (mittel <= 6.0) return "";
  return name + ": mean difference " + std::to_string(mittel);
}

// --- The watcher ---------------------------------------------------------------------------

// What the hooks of the game saw since the last look.
struct Gesehen {
  int ticks = 0, pausenbilder = 0, savebilder = 0;
  int32_t levelTick = 0;  // in the menu its frame counter
};
Gesehen g_gesehen;

struct Stufe {
  const char* name;
  std::function<bool()> erreicht;  // the stage shows
  std::function<void()> tun;       // what the player does there
};

struct Lauf {
  std::vector<Stufe> stufen;
  size_t naechste = 0;
  Gesehen vorher;  // the hooks' counts at the look before
  size_t ersteLevelStufe = 0;
  Gesehen marke;  // the hooks' counts when the last stage acted
  bool ruhig = false;  // nothing but the menu ran since the look before
  std::vector<std::string> fehler;
};
Lauf g_lauf;

// A press: down for three reads of the keyboard, up for three.
void Druecken(std::initializer_list<int> tasten) {
  for (int t : tasten) {
    headless::QueueKeys({t}, 3);
    headless::QueueKeys({}, 3);
  }
}

void Golden(const char* name) {
  const std::string f = MitGoldenVergleichen(name, Daumen());
  if (!f.empty()) g_lauf.fehler.push_back(f);
}

void Schauen(uint64_t jetzt) {
  Lauf& l = g_lauf;
  g_gesehen.levelTick = LevelTick;
  l.ruhig = g_gesehen.ticks == l.vorher.ticks && g_gesehen.pausenbilder == l.vorher.pausenbilder &&
            g_gesehen.savebilder == l.vorher.savebilder;
  // Keys still queued belong to the stage before.
  if (headless::KeyReadsLeft() == 0 && l.naechste < l.stufen.size()) {
    if (l.stufen[l.naechste].erreicht()) {
      l.stufen[l.naechste++].tun();
      l.marke = g_gesehen;
    } else if (l.ruhig && g_gesehen.levelTick == l.vorher.levelTick && l.naechste >= l.ersteLevelStufe) {
      // Neither the menu nor a level nor a screen of theirs runs: the loading picture
      // waits for a key.
      Druecken({kSpace});
    }
  }
  l.vorher = g_gesehen;
  if (Spielstatus != 10) headless::At(jetzt + kBlick, [jetzt] { Schauen(jetzt + kBlick); });
}

// A menu picture that holds still: the hangar frozen over, no cross-fade running.
bool MenuStill() { return MenuLauf.HangarFade >= 1.0f && (!Abblenden || BlendAlpha <= 0); }

// The menu runs on its main page, its column in place, and nothing else has run since the
// last look.
bool Hauptseite() {
  return MenuSeite == kSeiteHaupt && std::abs(MenuLauf.SpalteX - 155) < 1 && g_lauf.ruhig && MenuStill();
}

// The level `name` has run `ticks` ticks since the stage before.
std::function<bool()> ImLevel(const char* name, int ticks) {
  auto start = std::make_shared<int>(-1);  // the ticks seen when the level first ran
  return [name, ticks, start] {
    if (LevelName != name || g_gesehen.ticks == g_lauf.vorher.ticks) return false;
    if (*start < 0) *start = g_gesehen.ticks;
    return g_gesehen.ticks - *start >= ticks;
  };
}

}  // namespace

class Acceptance : public ::testing::TestWithParam<bool> {
 protected:
  IsolatedHome home;
};

TEST_P(Acceptance, TheWholeGameOnceThrough) {
  const bool videos = GetParam();
#ifdef HARVO_ADDRESS_SANITIZER
  // Over a minute under the sanitizers: the run with the videos covers the other's code.
  if (!videos) GTEST_SKIP() << "the run with the videos checks the same code under the sanitizers";
#endif
  const int code = testsupport::RunInChild([&] {
    headless::Reset();
    headless::SetClock(5000);
    headless::TypeText("\r");  // OK in the settings window
    g_gesehen = {};
    NachTick = [] { ++g_gesehen.ticks; };
    NachPauseBild = [] { ++g_gesehen.pausenbilder; };
    NachSaveScreenBild = [] { ++g_gesehen.savebilder; };
    g_lauf = Lauf{};
    g_lauf.stufen = {
        {"settings", [] { return FensterHandle != 0; }, [videos] { VideoAn = videos; }},
        {"menu", Hauptseite, [] {
           Golden("menu");
           Druecken({kReturn});
         }},
        {"new game", [] { return MenuSeite == kSeiteNeu; }, [] { Druecken({kReturn}); }},
        {"ship select", [] { return MenuSeite == kSeiteSchiff; }, [] { Druecken({kDown, kReturn}); }},
        {"name entry", [] { return MenuSeite == kSeiteName && MenuLauf.Schub == 0; },
         [] { headless::TypeText("A"); }},
        // One character a look: the page takes one a frame.
        {"typing", [] { return true; }, [] { headless::TypeText("c"); }},
        {"typing", [] { return true; }, [] { headless::TypeText("e"); }},
        {"typing", [] { return true; }, [] { headless::TypeText("\r"); }},
        {"level 1", ImLevel("Level1", 100), [] { Druecken({kEscape}); }},
        {"pause in level 1", [] { return g_gesehen.pausenbilder >= g_lauf.marke.pausenbilder + 10; }, [] {
           Golden("pause");
           Druecken({kReturn});
         }},
        {"save screen", [] { return g_gesehen.savebilder >= g_lauf.marke.savebilder + 20; }, [] {
           Golden("save");
           Druecken({kDown, kDown, kDown, kReturn});
         }},
        {"level 2", ImLevel("Level2", 100), [] {
           Golden("level2");
           // The demo levels give few points; these place the player in the table.
           Spieler[0].Punkte = 150000;
           Druecken({kEscape});
         }},
        {"pause in level 2", [] { return g_gesehen.pausenbilder >= g_lauf.marke.pausenbilder + 10; }, [] { Druecken({kDown, kReturn}); }},
        {"menu after the exit", Hauptseite, [] { Druecken({kDown, kDown, kDown, kReturn}); }},
        {"score page", [] { return MenuSeite == kSeiteHighscore && MenuLauf.Schub == 0 && MenuStill(); }, [] {
           Golden("score");
           Druecken({kReturn});
         }},
        {"menu after the scores", Hauptseite, [] { Druecken({kUp, kUp, kReturn}); }},
        {"load page", [] { return MenuSeite == kSeiteLaden && MenuLauf.Schub == 0 && MenuStill(); }, [] {
           Golden("load");
           Druecken({kUp, kReturn});
         }},
        {"loaded level 2 to its end", [] { return g_gesehen.savebilder >= g_lauf.marke.savebilder + 20; },
         [] { Druecken({kEscape}); }},
        {"menu after the ending", Hauptseite, [] {
           Golden("end");
           Druecken({kUp, kReturn});
         }},
    };
    // From the first level on, a still game waits at a loading picture.
    while (std::string(g_lauf.stufen[g_lauf.ersteLevelStufe].name) != "level 1") ++g_lauf.ersteLevelStufe;
    headless::At(5000, [] { Schauen(5000); });
    const int ergebnis = [&] {
      std::vector<std::string> args{"harvo", "-Debug", "-Tick", "4200"};
      std::vector<char*> ptrs;
      for (std::string& a : args) ptrs.push_back(a.data());
      return RunProgram(static_cast<int>(ptrs.size()), ptrs.data());
    }();
    // What went wrong, for the parent to tell.
    std::string bericht;
    for (const std::string& f : g_lauf.fehler) bericht += f + "\n";
    if (g_lauf.naechste < g_lauf.stufen.size())
      bericht += std::string("stopped before \"") + g_lauf.stufen[g_lauf.naechste].name + "\"\n";
    testsupport::WriteText(home.home() + "acceptance.txt", bericht);
    if (g_lauf.naechste != g_lauf.stufen.size()) return 2;
    if (ergebnis != 0) return 100 + ergebnis;
    if (!g_lauf.fehler.empty()) return 3;
    // The player's name entered the table when the game was left through the pause screen.
    HighscoreCrypt();
    bool drin = false;
    for (const HighscoreEintrag& e : Highscore) drin = drin || HighscoreName(e).rfind("Ace", 0) == 0;
    HighscoreCrypt();
    return drin ? 0 : 4;
  });
  ASSERT_EQ(code, 0) << testsupport::ReadText(home.home() + "acceptance.txt");
  const std::string log = testsupport::ReadText(home.dataDir() + "Debug.txt");
  const std::vector<std::string> zeilen = testsupport::SplitLines(log);
  ASSERT_FALSE(zeilen.empty());
  EXPECT_EQ(zeilen.back(), "Fine Ending!");
  EXPECT_NE(log.find("---Spielstart: Level1"), std::string::npos);
  EXPECT_TRUE(std::filesystem::exists(home.dataDir() + "config.cfg"));
  EXPECT_TRUE(std::filesystem::exists(home.dataDir() + "Highscore.dat"));
  EXPECT_TRUE(std::filesystem::exists(home.dataDir() + "save/3.sav"));
}

INSTANTIATE_TEST_SUITE_P(Videos, Acceptance, ::testing::Values(true, false),
                         [](const ::testing::TestParamInfo<bool>& i) { return i.param ? "On" : "Off"; });
