// The continue screen: on its own in a game window (keys by frame, the count's pace, the
// tube collapse after it, the focus, a quit, the place lines, its music), and after the
// last life of the short crash level, where the game loop gives the new lives and cuts
// the scores, or ends the game.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "campaign/continue_screen.hpp"
#include "campaign/game_loop_state.hpp"
#include "campaign/highscore.hpp"
#include "engine/display.hpp"
#include "engine/input.hpp"
#include "frontend/effects_state.hpp"
#include "headless/run.hpp"
#include "platform/headless/headless.hpp"
#include "platform/music.hpp"
#include "platform/window.hpp"
#include "player/players_state.hpp"
#include "run/program_state.hpp"
#include "run/variabeln_state.hpp"
#include "shell/config.hpp"
#include "shell/timing.hpp"
#include "support/display.hpp"
#include "support/fresh_state.hpp"
#include "support/support.hpp"
#include "world/standard_pictures.hpp"

namespace headless = platform::headless;

namespace {

constexpr int kEscape = 1, kSpace = 57;
constexpr int kZaehlung = 9 * 28, kZusammenfall = 50 + 7 + 15;

using Tasten = std::vector<std::vector<int>>;

// `n` frames of the same keys.
Tasten Mal(int n, std::vector<int> tasten = {}) { return Tasten(static_cast<size_t>(n), tasten); }
Tasten operator+(Tasten a, const Tasten& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

int Frames() { return headless::LastFrame().count; }

// Bright pixels (the text's white under the blur) of the last frame presented in the rows y0..y1 about the
// screen's centre, where the place lines are.
int Hell(const headless::RecordedFrame& f, int y0, int y1) {
  int n = 0;
  for (int y = y0; y < y1; ++y)
    for (int x = 250; x < 550; ++x) {
      const uint8_t* p = f.pixels.data() + static_cast<size_t>(y) * f.pitch + 4 * static_cast<size_t>(x);
      n += p[0] > 0x70 && p[1] > 0x70 && p[2] > 0x70;
    }
  return n;
}

class Weiter : public ::testing::Test {
 protected:
  testsupport::IsolatedHome home;

  void SetUp() override {
    ASSERT_NO_THROW(testsupport::StartWithDemoData(home.dataDir()));
    LoadStandartSurfaces();
    SetHighscoreDefaults();
    SoundAn = false;
    LetzterSpieler = 0;
    Spielstatus = 0;
    FrameSkipAn = false;
    LetzterTick = GetTickCount();  // the virtual clock starts again
    for (SpielerDaten& s : Spieler) s.Punkte = 0;
    Spieler[0].Name = "Ada";
    Spieler[0].HighscoreNr = 11;
    Spieler[1].Name = "Bob";
    Spieler[1].HighscoreNr = 22;
    // A screen that never ends fails the test instead of hanging it.
    headless::At(static_cast<uint64_t>(GetTickCount()) + 120000, [] { Spielstatus = 10; });
  }
  void TearDown() override {
    testsupport::CloseGameWindow();
    testsupport::FreshState();
    LetzterSpieler = 0;
  }

  struct Lauf {
    bool ergebnis;
    int frames;
  };
  // The screen with the keys of its frames, one keyboard read a frame.
  static Lauf Zeigen(const Tasten& tasten) {
    for (const std::vector<int>& t : tasten) headless::QueueKeys(t);
    const int vorher = Frames();
    const bool r = Continue();
    return {r, Frames() - vorher};
  }
};

// The count runs from 9 in steps of 28 frames, 3 with the back key held; confirm answers
// yes up to the frame in which the count runs out; after it the picture collapses in 72
// frames and the answer is no. Confirm acts when its key goes down: one still held from
// the game does not answer.
TEST_F(Weiter, KeysAndTheCountsPace) {
  struct Fall {
    const char* was;
    Tasten tasten;
    bool ergebnis;
    int frames;
  };
  for (const Fall& f : {
           Fall{"no key", {}, false, kZaehlung + kZusammenfall},
           Fall{"confirm in frame 10", Mal(9) + Mal(1, {kSpace}), true, 10},
           Fall{"confirm held from the game", Mal(300, {kSpace}), false, kZaehlung + kZusammenfall},
           Fall{"let go and pressed again", Mal(20, {kSpace}) + Mal(1) + Mal(1, {kSpace}), true, 22},
           Fall{"back held", Mal(400, {kEscape}), false, 27 + kZusammenfall},
           Fall{"confirm as the count runs out", Mal(26, {kEscape}) + Mal(1, {kEscape, kSpace}), true, 27},
           Fall{"confirm a frame late", Mal(27, {kEscape}) + Mal(20, {kSpace}), false, 27 + kZusammenfall},
       }) {
    SCOPED_TRACE(f.was);
    Spielstatus = 0;
    const Lauf l = Zeigen(f.tasten);
    EXPECT_EQ(l.ergebnis, f.ergebnis);
    EXPECT_EQ(l.frames, f.frames);
    EXPECT_EQ(Spielstatus, 0);
    EXPECT_TRUE(OverlayKopie);
    while (headless::KeyReadsLeft() > 0) DInputPoll();
  }
}

// Keys count only while the game window has the focus: the count runs on regardless.
TEST_F(Weiter, KeysWithoutTheFocusAreIgnored) {
  platform::WindowDesc desc;
  desc.visible = true;
  const platform::HWnd anderes = platform::CreateWindow(desc, platform::DefWindowProc);
  ASSERT_NE(platform::GetFocus(), FensterHandle);
  const Lauf l = Zeigen(Mal(5) + Mal(5, {kSpace}) + Mal(50, {kEscape}));
  EXPECT_FALSE(l.ergebnis);
  EXPECT_EQ(l.frames, kZaehlung + kZusammenfall);
  platform::DestroyWindow(anderes);
}

// A quit ends the screen at once with no, and the run state stays 10; the frame skipping
// comes back as it was.
TEST_F(Weiter, AQuitEndsTheScreenAndKeepsTheRunState) {
  FrameSkipAn = false;
  headless::At(static_cast<uint64_t>(GetTickCount()) + 2000, [] { Spielstatus = 10; });
  const Lauf l = Zeigen(Mal(100, {kEscape}));  // the count would run out after frame 27
  EXPECT_FALSE(l.ergebnis);
  EXPECT_EQ(Spielstatus, 10);
  EXPECT_GT(l.frames, 27);
  EXPECT_LT(l.frames, 60);
  EXPECT_FALSE(FrameSkipAn);
}

// A late frame is not drawn (the screen skips frames as the game loop does), but the
// count and the collapse keep their pace: one frame fewer is presented.
TEST_F(Weiter, ALateFrameIsSkippedAndTheCountKeepsItsPace) {
  headless::At(static_cast<uint64_t>(GetTickCount()) + 2000, [] { headless::AdvanceClock(100); });
  const Lauf l = Zeigen({});
  EXPECT_FALSE(l.ergebnis);
  EXPECT_EQ(l.frames, kZaehlung + kZusammenfall - 1);
  EXPECT_FALSE(FrameSkipAn);  // as before the call
}

// Every player's result is entered before anything is drawn, and a place in the table
// shows as a line at y 490 (player one) or 510 (player two); no place, no line.
TEST_F(Weiter, ThePlacesWonShowBelow) {
  struct Fall {
    const char* was;
    int32_t letzter, punkte0, punkte1;
    bool zeile1, zeile2;
    int32_t platz0;  // player one's place in the table afterwards
  };
  for (const Fall& f : {Fall{"one player in the table", 0, 5000000, 0, true, false, 1},
                        Fall{"one player below it", 0, 0, 0, false, false, 11},
                        Fall{"two players in it", 1, 5000000, 4000000, true, true, 1},
                        Fall{"only the second", 1, 0, 4000000, false, true, 11}}) {
    SCOPED_TRACE(f.was);
    SetHighscoreDefaults();
    LetzterSpieler = f.letzter;
    Spieler[0].Punkte = f.punkte0;
    Spieler[1].Punkte = f.punkte1;
    Spielstatus = 0;
    headless::RecordedFrame bild;
    headless::At(static_cast<uint64_t>(GetTickCount()) + 600, [&] { bild = headless::LastFrame(); });
    Zeigen(Mal(40) + Mal(1, {kSpace}));
    ASSERT_GT(bild.count, 0);
    EXPECT_EQ(Hell(bild, 494, 508) > 150, f.zeile1) << Hell(bild, 494, 508);
    EXPECT_EQ(Hell(bild, 520, 535) > 150, f.zeile2) << Hell(bild, 520, 535);
    EXPECT_EQ(HighscorePlaceOfTag(11), f.platz0);  // entered although the player goes on
  }
}

// The screen's own music while it runs, stopped when it ends; without the file it runs
// silently and says so in the debug log.
TEST_F(Weiter, PlaysItsMusicAndStopsIt) {
  SoundAn = true;
  DebugModus = true;
  for (const bool da : {true, false}) {
    SCOPED_TRACE(da);
    if (!da) SoundPfad = home.dataDir();
    bool spielt = false;
    headless::At(static_cast<uint64_t>(GetTickCount()) + 400, [&] { spielt = platform::music::IsPlaying(); });
    Spielstatus = 0;
    EXPECT_TRUE(Zeigen(Mal(20) + Mal(1, {kSpace})).ergebnis);
    EXPECT_EQ(spielt, da);
    EXPECT_FALSE(platform::music::IsPlaying());
    const std::string log = testsupport::ReadText(home.dataDir() + "Debug.txt");
    EXPECT_EQ(log.find("No Continue.ogg") != std::string::npos, !da);
  }
  DebugModus = false;
}

// ---- After the last life, in the game --------------------------------------------------------

// The crash level played with the last life from the start: the ship is lost soon and
// the continue screen comes with the keys `imSchirm`.
struct Ende {
  int64_t todBei = 0;     // the tick of the lost life
  int framesBis = 0;      // frames presented up to it
  int framesDanach = 0;   // frames presented after it, when the level ended
  int64_t ticks = 0;      // ticks played in all
  int32_t status = -1;    // the run state as the game loop returned
  SpielerDaten nachher[2];  // the players in the first tick after a restart
  int32_t schwelle = 0;
  int32_t musik = -1;
};

Ende Spielen(bool zwei, const Tasten& imSchirm, bool beenden = false) {
  Ende e;
  headless_run::Options o;
  o.level = "Crash";
  o.seed = 1;
  o.twoPlayers = zwei;
  o.afterLevel = [&] {
    e.status = Spielstatus;
    e.framesDanach = Frames() - e.framesBis;
  };
  headless_run::Run(o, [&](const headless_run::Tick& t) {
    e.ticks = t.n;
    if (t.n == 1) {
      Spieler[0].Leben = 0;
      Spieler[0].Punkte = 600001;
      Spieler[1].Punkte = 3001;
      ExtraLebenSchwelle = 96;
    }
    if (e.todBei > 0 && t.n == e.todBei + 1) {
      e.nachher[0] = Spieler[0];
      e.nachher[1] = Spieler[1];
      e.schwelle = ExtraLebenSchwelle;
      e.musik = MusikFade;
      Spielstatus = 10;
    }
    if (e.todBei == 0 && LevelEnde == 1) {
      e.todBei = t.n;
      e.framesBis = Frames();
      for (const std::vector<int>& k : imSchirm) headless::QueueKeys(k);
      if (beenden) headless::At(static_cast<uint64_t>(GetTickCount()) + 1000, [] { Spielstatus = 10; });
    }
  });
  return e;
}

class WeiterImSpiel : public ::testing::Test {
 protected:
  testsupport::IsolatedHome home;
  void TearDown() override { testsupport::FreshState(); }
};

TEST_F(WeiterImSpiel, NoAnswerEndsTheGame) {
  const Ende e = Spielen(false, {});
  ASSERT_GT(e.todBei, 0) << "the ship was not lost";
  EXPECT_LT(e.todBei, 600);
  EXPECT_EQ(e.ticks, e.todBei);  // no tick after it
  EXPECT_EQ(e.framesDanach, kZaehlung + kZusammenfall);
  EXPECT_EQ(e.status, 9);
}

TEST_F(WeiterImSpiel, AQuitOnTheScreenKeepsTheRunState) {
  const Ende e = Spielen(false, {}, true);
  EXPECT_EQ(e.ticks, e.todBei);
  EXPECT_EQ(e.status, 10);
}

// Going on: 4 lives (7 with two players) of which the restart takes one, every score cut
// to a third, the extra-life threshold back at 300,000, the music fading in.
TEST_F(WeiterImSpiel, GoingOnGivesLivesAndCutsTheScores) {
  for (const bool zwei : {false, true}) {
    SCOPED_TRACE(zwei);
    const Ende e = Spielen(zwei, Mal(30) + Mal(1, {kSpace}));
    ASSERT_GT(e.todBei, 0) << "the ship was not lost";
    EXPECT_GT(e.ticks, e.todBei);
    EXPECT_EQ(e.nachher[0].Leben, zwei ? 6 : 3);
    EXPECT_EQ(e.nachher[0].Punkte, 200000);
    EXPECT_EQ(e.nachher[1].Punkte, zwei ? 1000 : 3001);
    EXPECT_EQ(e.schwelle, 3);
    EXPECT_EQ(e.musik, 5);  // from silence, 5 percent a tick
    EXPECT_EQ(e.status, 10);
  }
}

}  // namespace
