#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "campaign/ticker.hpp"
#include "campaign/ticker_state.hpp"
#include "shell/timing.hpp"
#include "support/display.hpp"
#include "support/fresh_state.hpp"

namespace {

// A fresh level pass: no lines, the ticker run out as the first frame leaves it.
void FrischerDurchgang() {
  testsupport::FreshState();
  TickerLeer = true;
}

// Pixels of the ticker's green (or of its smoothed edges) in the rectangle of the back
// buffer.
int Gruen(int x1, int y1, int x2, int y2) {
  int n = 0;
  for (int y = y1; y < y2; ++y)
    for (int x = x1; x < x2; ++x) {
      const uint32_t p = testsupport::BackBufferPixel(x, y);
      const uint32_t r = p >> 16, g = (p >> 8) & 0xFF;
      n += g > 0x60 && g > 2 * r;
    }
  return n;
}

}  // namespace

TEST(Ticker, ALineAfterTheTickerRanOutComesAfterAGap) {
  testsupport::FreshState();
  TickerLeer = false;
  AddMsg("eins");
  TickerLeer = true;
  AddMsg("zwei");
  AddMsg("drei");
  EXPECT_EQ(MessageHistory.Zeilen, (std::vector<std::string>{"eins", std::string(10, ' '), "zwei", "drei"}));
  EXPECT_EQ(MessageHistoryMax(), 3);
  EXPECT_FALSE(TickerLeer);
  // A new pass empties the history; whether the ticker ran out is the ticker's to say.
  TickerPos = 25;
  TickerLeer = true;
  ResetTicker();
  EXPECT_EQ(MessageHistoryMax(), -1);
  EXPECT_EQ(TickerPos, 0);
  EXPECT_TRUE(TickerLeer);
  TickerLeer = false;
}

// Every line as "     -" line "     ", the last one's trailing blanks dropped.
TEST(Ticker, TheTextAndTheWindowOnIt) {
  FrischerDurchgang();
  EXPECT_EQ(TickerLaenge(), 0);
  AddMsg("abc");  // after the ten-blank gap of a fresh pass
  EXPECT_EQ(TickerLaenge(), 30);
  const std::string text = "     -" + std::string(10, ' ') + "     " + "     -abc";
  struct Fall {
    int32_t start;
    std::string sichtbar;
  };
  for (const Fall& f : {Fall{0, ""}, Fall{30, std::string(69, ' ') + text}, Fall{125, "-abc"},
                        Fall{99 + 28, "bc"}, Fall{128, "c"}, Fall{129, ""}})
    EXPECT_EQ(TickerFenster(f.start), f.sichtbar) << f.start;
  // A window of 100 characters: a long line shows only as far.
  AddMsg(std::string(300, 'x'));
  EXPECT_EQ(TickerLaenge(), 30 + 5 + 6 + 300);
  EXPECT_EQ(TickerFenster(99 + 40), "-" + std::string(99, 'x'));
}

// Two tenths of a character a frame, one more for every 50 characters ahead of the
// window's start; nothing ahead, still two.
TEST(Ticker, TheSpeedCatchesUpWithABacklog) {
  struct Fall {
    int32_t laenge;  // of the one line's ticker text
    int32_t pos;
    int32_t schritt;
  };
  for (const Fall& f : {Fall{600, 0, 14}, Fall{600, 5000, 4}, Fall{600, 5010, 3}, Fall{600, 5510, 2}, Fall{600, 6500, 2},
                        Fall{49, 0, 2}, Fall{50, 0, 3}}) {
    testsupport::FreshState();
    AddMsg(std::string(static_cast<size_t>(f.laenge - 6), 'x'));
    ASSERT_EQ(TickerLaenge(), f.laenge);
    TickerPos = f.pos;
    Rendern = false;
    ShowMSGS();
    EXPECT_EQ(TickerPos - f.pos, f.schritt) << f.laenge << " at " << f.pos;
  }
  Rendern = true;
}

// The ticker runs out once its text has left the window at the left; a new line (after
// its gap) scrolls on from where it stopped. An empty history runs out at once.
TEST(Ticker, RunsOutWhenTheTextHasLeftAndGoesOnWithTheNextLine) {
  FrischerDurchgang();
  TickerLeer = false;
  Rendern = false;
  ShowMSGS();
  EXPECT_TRUE(TickerLeer);
  EXPECT_EQ(TickerPos, 0);

  AddMsg("abc");
  EXPECT_FALSE(TickerLeer);
  int frames = 0, letzteVorher = -1;
  while (!TickerLeer && frames < 10000) {
    const int32_t vorher = TickerPos;
    ShowMSGS();
    if (!TickerLeer) letzteVorher = vorher;
    ++frames;
  }
  ASSERT_TRUE(TickerLeer);
  EXPECT_LT(letzteVorher / 10, 30 + 99);   // the last frame drawn began inside the text
  EXPECT_GE(TickerPos / 10, 30 + 99);      // and left it behind
  EXPECT_EQ(TickerFenster(TickerPos / 10), "");
  const int32_t stand = TickerPos;
  ShowMSGS();
  EXPECT_EQ(TickerPos, stand);

  AddMsg("neu");
  EXPECT_EQ(MessageHistory.Zeilen.size(), 4u);  // the gap, then the line
  ShowMSGS();
  EXPECT_FALSE(TickerLeer);
  EXPECT_EQ(TickerPos, stand + 2);
  Rendern = true;
}

// Drawn at (575, 552) in green, and only in a frame that is drawn.
TEST(Ticker, DrawsItsWindowInTheCorner) {
  testsupport::OpenDisplay(platform::PixelFormat::XRGB8888);
  FrischerDurchgang();
  AddMsg("HARVO");
  TickerPos = 10 * (99 + 26) - 2;  // "-HARVO" at the window's start after this frame
  Rendern = false;
  ShowMSGS();
  EXPECT_EQ(Gruen(0, 0, 800, 600), 0);
  TickerPos -= 2;
  Rendern = true;
  ShowMSGS();
  EXPECT_EQ(TickerFenster(TickerPos / 10), "-HARVO");
  EXPECT_GT(Gruen(575, 552, 640, 570), 20);
  EXPECT_EQ(Gruen(0, 0, 575, 600), 0);
  EXPECT_EQ(Gruen(0, 0, 800, 550), 0);
  testsupport::CloseDisplay();
  testsupport::FreshState();
}
