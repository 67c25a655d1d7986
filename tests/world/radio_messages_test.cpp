// Radio messages: page lengths and the end of a message, the play limits, the voice clips
// with their timer (sound on and off), and the portrait in its static, slipping now and then.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "campaign/ticker_state.hpp"
#include "draw_support.hpp"
#include "engine/display.hpp"
#include "engine/render.hpp"
#include "engine/sound.hpp"
#include "lib/archive_writer.hpp"
#include "lib/media_writer.hpp"
#include "platform/headless/headless.hpp"
#include "platform/window.hpp"
#include "run/program_state.hpp"
#include "run/variabeln.hpp"
#include "shell/appdata.hpp"
#include "shell/config.hpp"
#include "shell/timing.hpp"
#include "support/fresh_state.hpp"
#include "support/golden.hpp"
#include "support/support.hpp"
#include "world/level_data_state.hpp"
#include "world/pictures_state.hpp"
#include "world/radio.hpp"

using worlddraw::Pixel;

namespace {

class Radio : public worlddraw::LayerTest {
 protected:
  testsupport::IsolatedHome home;
  testsupport::TempDir app;

  void SetUp() override {
    LayerTest::SetUp();
    AppPfad = DatenOrdner = app.path();
    std::filesystem::create_directories(app / "Data");
    const std::vector<int16_t> ton(2000, 500);
    testsupport::WriteBytes(app / "Data/Level1.vfp",
                            tools::PackArchive({{"a.wav", tools::EncodeWav16(ton, 1, 44100)},
                                                {"b.wav", tools::EncodeWav16(ton, 1, 44100)}}));
    Neu({"2;a.wav;2000;First;2;b.wav;2000;Second"});
  }
  void TearDown() override {
    Soundclear();
    ResetPlayedRadioMessages();
    TexNoise = -1;
    TexFunkFrame.fill(-1);
    LayerTest::TearDown();
  }
  // Message 0 with one text block of `zeilen`, limited to `max` plays, and a sound table
  // of one game sound.
  static void Neu(const std::vector<std::string>& zeilen, int32_t max = 0) {
    FunkTexte = {FunkText{.Name = "Block", .Zeilen = zeilen}};
    Funkmeldungen = {Funkmeldung{.TextBlock = "Block", .MaxAnzahl = max, .FunkTextIndex = 0}};
    MessageHistory.Zeilen.clear();
    Soundclear();
    Sounds.emplace_back();
  }
  // Runs the message from its start for `n` ticks (0: until it ends); the length of each
  // page as it began.
  static std::vector<int32_t> Lauf(int n = 0) {
    AddFunktion(0);
    std::vector<int32_t> laengen;
    for (int t = 0; (n == 0 ? FunkStatus.Aktiv != 0 : t < n) && t < 2000; ++t) {
      const int32_t seite = FunkStatus.Seite;
      SpielFunkmeldung();
      if (FunkStatus.Seite != seite) laengen.push_back(FunkStatus.SeitenLaenge);
    }
    return laengen;
  }
};

}  // namespace

TEST_F(Radio, PagesLastTheirTimeInTicksAndAPageWithoutTimeEndsTheMessage) {
  Rendern = false;
  struct Fall {
    const char* name;
    std::string zeile;
    int ticks;  // 0: until it ends
    std::vector<int32_t> laengen;
    std::vector<std::string> ticker;
  } faelle[] = {
      {"two pages of 2000 ms: 125 ticks each", "2;a.wav;2000;First;2;b.wav;2000;Second", 0, {125, 125, 0},
       {"First", "Second", ""}},
      {"15 ms ends it at once, after its text", "2;a.wav;15;Short", 0, {0}, {"Short"}},
      {"16 ms is one tick", "2;a.wav;16;One", 0, {1, 0}, {"One", ""}},
      {"times are rounded, then cut to whole ticks", "2;a.wav;2015.6;T", 0, {126, 0}, {"T", ""}},
      {"a negative time ends it", "2;a.wav;-2000;Back", 0, {-125}, {"Back"}},
      {"a missing time ends it", "2;a.wav;;Nothing", 0, {0}, {"Nothing"}},
      {"a huge time saturates", "2;a.wav;1e15;Long", 3, {134217727}, {"Long"}},
      {"fields are trimmed", " 1 ; a.wav ; 2000 ;  Hello there ", 1, {125}, {"Hello there"}},
  };
  for (const Fall& f : faelle) {
    Neu({f.zeile});
    EXPECT_EQ(Lauf(f.ticks), f.laengen) << f.name;
    EXPECT_EQ(MessageHistory.Zeilen, f.ticker) << f.name;
  }
  // Two pages: the page turns take a tick each.
  Neu({"2;a.wav;2000;First;2;b.wav;2000;Second"});
  Lauf(252);
  EXPECT_EQ(std::make_pair(FunkStatus.Aktiv, FunkStatus.Seite), std::make_pair(VBTrue, 2));
  Lauf(253);
  EXPECT_EQ(std::make_pair(FunkStatus.Aktiv, FunkStatus.Seite), std::make_pair(VBFalse, 3));
  // A block without lines is one empty line: one empty page, and the message is over.
  Neu({}, 1);
  EXPECT_EQ(Lauf(), std::vector<int32_t>{0});
  EXPECT_EQ(MessageHistory.Zeilen, std::vector<std::string>{""});
  EXPECT_EQ(FunktionDatenMax(), 0);
}

TEST_F(Radio, PlayLimitsCountFinishedPlays) {
  Rendern = false;
  for (int32_t max : {0, 2}) {
    ResetPlayedRadioMessages();
    Neu({"1;a.wav;100;A", "1;b.wav;100;B"}, max);
    std::vector<int32_t> plays;
    for (int n = 0; n < 3; ++n) {
      AddFunktion(0);
      const bool spielt = FunkStatus.Aktiv != 0;
      SpielFunkmeldung();  // page 1 only: not counted yet
      plays.push_back(spielt ? (FunktionDaten.empty() ? 0 : FunktionDaten[0].Anzahl) : -1);
      Lauf();
    }
    EXPECT_EQ(plays, (max == 0 ? std::vector<int32_t>{0, 0, 0} : std::vector<int32_t>{0, 1, -1})) << max;
    EXPECT_EQ(FunktionDatenMax(), max == 0 ? -1 : 0);
  }
}

TEST_F(Radio, EachPageLoadsItsClipOnTheTimerAndFreesItAgain) {
  // The game window's timer, as the program run's window procedure routes it.
  Form1 = platform::CreateWindow({}, [](platform::HWnd, uint32_t m, intptr_t w, intptr_t) -> intptr_t {
    if (m == platform::wm::Timer && static_cast<uintptr_t>(w) == kFunkTimer) Form1_Timer2_Timer();
    return 0;
  });
  auto pumpe = [] {
    platform::headless::AdvanceClock(1);
    MyDoEvents();
  };
  SprachLautstaerke = -300;
  Lauf(1);
  EXPECT_TRUE(Timer2.Enabled);
  pumpe();
  ASSERT_EQ(std::make_pair(FunkStatus.Sound, SoundsMax()), std::make_pair(1, 1));
  EXPECT_EQ(Sounds[1].Name, "A.WAV");
  EXPECT_EQ(Sounds[1].Kopien[0].GetStatus(), DSBSTATUS_PLAYING);
  EXPECT_EQ(Sounds[1].Kopien[0].GetVolume(), -300);
  pumpe();  // one event per page
  EXPECT_EQ(SoundsMax(), 1);

  // A sound loaded after the clip keeps its number when the next page frees the clip.
  Sounds.emplace_back();
  for (int t = 0; t < 126; ++t) SpielFunkmeldung();
  EXPECT_EQ(std::make_tuple(FunkStatus.Seite, FunkStatus.Sound, SoundsMax()), std::make_tuple(2, 0, 2));
  EXPECT_TRUE(Sounds[1].Kopien.empty());
  pumpe();
  EXPECT_EQ(std::make_pair(FunkStatus.Sound, Sounds[3].Name), std::make_pair(3, std::string("B.WAV")));
  // The last page frees the clip, the last entry, and the table shrinks.
  for (int t = 0; t < 126; ++t) SpielFunkmeldung();
  EXPECT_EQ(std::make_tuple(FunkStatus.Aktiv, FunkStatus.Sound, SoundsMax(), Timer2.Enabled),
            std::make_tuple(VBFalse, 0, 2, false));

  // A clip the archive lacks: the ticker says so and nothing is freed later.
  Neu({"2;c.wav;2000;C"});
  Lauf(1);
  pumpe();
  EXPECT_EQ(std::make_pair(FunkStatus.Sound, MessageHistory.Zeilen.back()),
            std::make_pair(-1, std::string("Sound Not Found: c.wav")));
  KillFunktionsSound();
  EXPECT_EQ(std::make_pair(FunkStatus.Sound, SoundsMax()), std::make_pair(-1, 0));

  // Armed, but disarmed before it fires: by the level reset, or the message gone.
  for (int fall = 0; fall < 2; ++fall) {
    Neu({"2;a.wav;2000;A"});
    Lauf(1);
    fall == 0 ? VariabelnLösch() : void(FunkStatus.Aktiv = VBFalse);
    Form1_Timer2_Timer();
    pumpe();
    EXPECT_EQ(std::make_pair(FunkStatus.Sound, SoundsMax()), std::make_pair(0, 0)) << fall;
  }
  platform::DestroyWindow(Form1);
  Form1 = 0;
}

TEST_F(Radio, WithSoundOffThePagesStillRunWithoutClips) {
  Rendern = false;
  SoundAn = false;
  EXPECT_EQ(Lauf(), (std::vector<int32_t>{125, 125, 0}));
  EXPECT_EQ(MessageHistory.Zeilen, (std::vector<std::string>{"First", "Second", ""}));
  EXPECT_FALSE(Timer2.Enabled);
  Lauf(1);
  Timer2.Enabled = true;
  Form1_Timer2_Timer();
  EXPECT_EQ(std::make_pair(FunkStatus.Sound, SoundsMax()), std::make_pair(0, 0));
}

// The static is pure red and the portrait pure green: what shows where tells which was
// drawn, and how strongly.
TEST_F(Radio, SpeakerCodesAndTheFadingStatic) {
  TexNoise = worlddraw::Solid(256, 256, 0xFFFF0000, true);
  TexFunkFrame.fill(worlddraw::Solid(50, 50, 0xFF00FF00));
  struct Fall {
    std::string sprecher;
    int tick;           // of the page, from 1
    uint32_t rauschen;  // at (10, 560): the static alone
    uint32_t portrait;  // at (45, 567)
  } faelle[] = {
      {"0", 60, 0, 0},
      {"1", 60, 0x4D0000, 0x4D0000},  // alpha 0.3 from 55 ticks on
      {"2", 60, 0x4D0000, 0x4DB200},
      {"2", 20, 0xFF0000, 0xFF0000},  // 1.0 at 20 ticks, falling to 0.3 at 55
      {"2", 40, 0x990000, 0x996600},
      {"2", 10, 0x800000, 0x800000},   // fading in: the static alone
      {"2", 116, 0x730000, 0x730000},  // fading out: 9 ticks left
  };
  for (const Fall& f : faelle) {
    Neu({f.sprecher + ";a.wav;2000;T"});
    Rendern = false;
    Lauf(f.tick);
    Rendern = true;
    BackBuffer->BltColorFill(nullptr, 0);
    RenderStart();
    SpielFunkmeldung();
    RenderEnd();
    EXPECT_EQ(std::make_pair(Pixel(10, 560), Pixel(45, 567)), std::make_pair(f.rauschen, f.portrait))
        << f.sprecher << " at " << f.tick;
  }
}

TEST_F(Radio, ASlippingPortraitStretchesABandOfItself) {
  TexNoise = -1;  // no static over it
  TexFunkFrame.fill(worlddraw::Picture(50, 50, false, true, [](int, int y) { return 0xFF000000u | (y * 5 + 5) << 8; }));
  Rendern = false;
  Lauf(60);
  // A state of the random sequence that slips the picture by r = 2 or more rows.
  uint32_t s = 1;
  for (;; ++s) {
    SetRndState(s);
    if (Rnd() < 0.1f && CLng(Rnd() * 20.0f) >= 2) break;
  }
  SetRndState(s);
  Rnd();
  const int32_t r = CLng(Rnd() * 20.0f);
  SetRndState(s);
  Rendern = true;
  RenderStart();
  SpielFunkmeldung();
  RenderEnd();
  EXPECT_EQ(std::make_pair(Pixel(30, 542), Pixel(30, 591)),
            std::make_pair(static_cast<uint32_t>(r * 5 + 5) << 8, static_cast<uint32_t>((49 - r) * 5 + 5) << 8));
}

// Mid-page: the portrait under faint static, mirrored pieces of the noise picture.
TEST_F(Radio, APortraitMidPageMatchesItsReferenceFrame) {
  TexNoise = worlddraw::Picture(256, 256, true, false, [](int x, int y) {
    uint32_t h = static_cast<uint32_t>(x) * 73856093u ^ static_cast<uint32_t>(y) * 19349663u;
    h = (h ^ (h >> 15)) * 2654435761u;
    const uint32_t v = h >> 24;
    return 0xFF000000u | v << 16 | v << 8 | v;
  });
  for (int i = 0; i < 32; ++i)
    TexFunkFrame[i] = worlddraw::Picture(50, 50, false, true, [i](int x, int y) -> uint32_t {
      const int dx = x - 25, dy = y - 24;
      if (dx * dx + dy * dy > 23 * 23) return y > 40 ? 0xFF305060u : 0;   // shoulders
      if (y > 31 && y < 34 + i % 4 && dx > -7 && dx < 7) return 0xFF401010u;  // the mouth
      if (y > 17 && y < 22 && (dx == -8 || dx == -7 || dx == 7 || dx == 8)) return 0xFF101010u;
      return 0xFFD0A080u;
    });
  Rendern = false;
  SetRndState(4242);
  Lauf(70);
  Rendern = true;
  BackBuffer->BltColorFill(nullptr, 0);
  RenderStart();
  SpielFunkmeldung();
  RenderEnd();
  EXPECT_EQ(testsupport::CompareWithGoldenBmp("tests/world/golden/radio_portrait_32.bmp", *BackBuffer,
                                              {0, 530, 100, 600}),
            "");
}
