#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "campaign/ticker_state.hpp"
#include "support/fresh_state.hpp"

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
  MessageHistory.Scroll = 25;
  TickerLeer = true;
  ResetTicker();
  EXPECT_EQ(MessageHistoryMax(), -1);
  EXPECT_EQ(MessageHistory.Scroll, 0);
  EXPECT_TRUE(TickerLeer);
  TickerLeer = false;
}
