#include <gtest/gtest.h>

#include "shell/pool.hpp"

namespace {
struct Item {
  int32_t Wert = 0;
  int16_t Aktiv = 0;
};
}  // namespace

TEST(Pool, AddsFromTheHintAndRaisesTheHighest) {
  Pool<Item, 3> p;
  EXPECT_EQ(p.Add({7, 0}), 0);
  EXPECT_EQ(p.Add({8, 0}), 1);
  EXPECT_EQ(p.Frei, 2);
  EXPECT_EQ(p.Max, 1);
  EXPECT_EQ(p[1].Wert, 8);
  EXPECT_EQ(p[1].Aktiv, VBTrue);
}

TEST(Pool, FullPoolDropsSilently) {
  Pool<Item, 2> p;
  for (int i = 0; i < 3; ++i) EXPECT_EQ(p.Add({i, 0}), i);
  EXPECT_EQ(p.Add({99, 0}), -1);
  EXPECT_EQ(p.Frei, 3);
  EXPECT_EQ(p.Max, 2);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(p[i].Wert, i);
}

TEST(Pool, KillLowersTheHintAndTheSlotIsReused) {
  Pool<Item, 5> p;
  for (int i = 0; i < 4; ++i) p.Add({i, 0});
  p.Kill(1);
  EXPECT_EQ(p.Frei, 1);
  EXPECT_EQ(p.Max, 3);
  EXPECT_EQ(p.Add({42, 0}), 1);
  EXPECT_EQ(p.Frei, 2);
}

TEST(Pool, KillingTheHighestScansDown) {
  Pool<Item, 5> p;
  for (int i = 0; i < 5; ++i) p.Add({i, 0});
  p.Kill(2);
  p.Kill(3);
  p.Kill(4);
  EXPECT_EQ(p.Max, 1);
  EXPECT_EQ(p.Frei, 2);
}

TEST(Pool, KillingTheOnlyObjectEmptiesThePool) {
  Pool<Item, 5> p;
  p.Add({1, 0});
  p.Add({2, 0});
  p.Kill(0);
  p.Kill(1);
  EXPECT_EQ(p.Max, -1);
  EXPECT_EQ(p.Frei, 0);
  Pool<Item, 5> q;
  q.Add({1, 0});
  q.Add({1, 0});
  q.Kill(1);
  EXPECT_EQ(q.Max, 0);
  EXPECT_EQ(q.Frei, 1);  // the hint stays at the killed slot
}

TEST(Pool, ResetClearsEveryFlag) {
  Pool<Item, 4> p;
  for (int i = 0; i < 5; ++i) p.Add({i, 0});
  p.Reset();
  EXPECT_EQ(p.Frei, 0);
  EXPECT_EQ(p.Max, -1);
  for (const Item& it : p.Slot) EXPECT_EQ(it.Aktiv, 0);
}
