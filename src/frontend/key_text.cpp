#include "frontend/key_text.hpp"

#include "engine/input.hpp"

std::string GetKeyText(int32_t K1, int32_t k2) {
  std::string text = GetKeyName(K1);
  const std::string zweite = GetKeyName(k2);
  if (!zweite.empty()) text += " / " + zweite;
  return text;
}
