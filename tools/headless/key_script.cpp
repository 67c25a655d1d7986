#include "headless/key_script.hpp"

#include <sstream>

#include "engine/input.hpp"
#include "shell/basic.hpp"

namespace headless_run {

int KeyCode(const std::string& word) {
  if (!word.empty() && word.find_first_not_of("0123456789") == std::string::npos) {
    const long code = word.size() > 3 ? 0 : std::stol(word);
    return code >= 1 && code <= KeyCodeMax ? static_cast<int>(code) : 0;
  }
  for (int code = 1; code <= KeyCodeMax; ++code)
    if (SameText(GetKeyName(code), word)) return code;
  return 0;
}

bool ParseKeyScript(const std::string& text, KeyScript& keys, std::string& error) {
  std::istringstream in(text);
  std::string line;
  for (int nr = 1; std::getline(in, line); ++nr) {
    if (const size_t hash = line.find('#'); hash != std::string::npos) line.erase(hash);
    std::istringstream words(line);
    std::string word;
    if (!(words >> word)) continue;
    const bool number = word.find_first_not_of("0123456789") == std::string::npos && word.size() <= 7;
    if (!number) {
      error = "line " + std::to_string(nr) + ": a tick count first, not \"" + word + "\"";
      return false;
    }
    const int ticks = std::stoi(word);
    std::vector<int> held;
    while (words >> word) {
      const int code = KeyCode(word);
      if (code == 0) {
        error = "line " + std::to_string(nr) + ": no key \"" + word + "\"";
        return false;
      }
      held.push_back(code);
    }
    keys.insert(keys.end(), static_cast<size_t>(ticks), held);
  }
  return true;
}

}  // namespace headless_run
