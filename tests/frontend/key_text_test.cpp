// The names of a key binding over the whole code space: keyboard keys with and without a
// name, both joysticks' directions and buttons (joystick 0's last button shares its code
// with joystick 1's left), codes beyond the joysticks, and bindings of one key. The names
// are the same in every language.
#include <gtest/gtest.h>

#include "frontend/key_text.hpp"
#include "shell/config.hpp"
#include "support/fresh_state.hpp"

TEST(KeyText, NamesBothKeysOfABindingOrTheFirstAlone) {
  testsupport::FreshState();
  struct Fall {
    int32_t k1, k2;
    const char* text;
  };
  const Fall faelle[] = {
      {57, 0, "Space"},                       // one key: no separator
      {0, 0, ""},                              // unbound
      {200, 28, "Up / 28"},                    // Return has no name: its number
      {44, 21, "Y / Z"},                       // German layout
      {11, 2, "0 / 1"},                        // main-row digits
      {156, 1, "Enter / Escape"},              // keypad Enter
      {211, 78, "Entf. / +"},
      {212, 215, "J1(Left) / J1(Down)"},       // joystick 0's directions
      {213, 214, "J1(Up) / J1(Right)"},
      {216, 246, "J1(Button1) / J1(Button31)"},
      {247, 250, "J2(Left) / J2(Down)"},       // joystick 0's button 32 reads as joystick 1's left
      {251, 282, "J2(Button1) / J2(Button32)"},
      {283, -5, "283 / -5"},                   // beyond the joysticks, and negative
      {0, 203, " / Left"},                     // only the second binding set
  };
  for (const char* sprache : {"D", "E", "R"}) {
    Sprache = sprache;
    for (const Fall& f : faelle) EXPECT_EQ(GetKeyText(f.k1, f.k2), f.text) << f.k1 << ", " << f.k2 << " in " << sprache;
  }
  testsupport::FreshState();
}
