#include "campaign/ticker.hpp"

#include <algorithm>
#include <string_view>

#include "shell/timing.hpp"

namespace {

constexpr std::string_view kVor = "     -";  // before every line
constexpr std::string_view kNach = "     ";   // after every line but the last
constexpr int64_t kVorlauf = 99;              // blanks ahead of the text: it enters from the right
constexpr int64_t kFensterBreite = 100;
constexpr int16_t kFensterX = 575, kFensterY = 552;

// The window's text, kept with its room so a drawn frame allocates nothing.
std::string& Fenster() {
  static std::string fenster = [] {
    std::string s;
    s.reserve(kFensterBreite);
    return s;
  }();
  return fenster;
}

// Walks the pieces of the ticker text in order, each with its offset in the text; the
// text is never built as a whole, so a long history costs a walk, not a copy.
template <class Tun>
void JedesStueck(Tun tun) {
  const std::vector<std::string>& zeilen = MessageHistory.Zeilen;
  int64_t pos = 0;
  for (size_t k = 0; k < zeilen.size(); ++k) {
    for (std::string_view stueck : {kVor, std::string_view(zeilen[k]), k + 1 < zeilen.size() ? kNach : std::string_view()}) {
      tun(stueck, pos);
      pos += static_cast<int64_t>(stueck.size());
    }
  }
}

}  // namespace

int32_t TickerLaenge() {
  int64_t laenge = 0;
  JedesStueck([&](std::string_view stueck, int64_t) { laenge += static_cast<int64_t>(stueck.size()); });
  return static_cast<int32_t>(std::min<int64_t>(laenge, INT32_MAX));
}

const std::string& TickerFenster(int32_t Start) {
  std::string& fenster = Fenster();
  fenster.assign(kFensterBreite, ' ');
  // Window [von, bis) of the text behind the 99 blanks.
  const int64_t von = int64_t{Start} - kVorlauf, bis = von + kFensterBreite;
  JedesStueck([&](std::string_view stueck, int64_t pos) {
    const int64_t a = std::max(pos, von), e = std::min(pos + static_cast<int64_t>(stueck.size()), bis);
    for (int64_t i = a; i < e; ++i) fenster[static_cast<size_t>(i - von)] = stueck[static_cast<size_t>(i - pos)];
  });
  const size_t ende = fenster.find_last_not_of(' ');
  fenster.resize(ende == std::string::npos ? 0 : ende + 1);
  return fenster;
}

void ShowMSGS() {
  const int32_t laenge = TickerLaenge();
  const int32_t start = TickerPos / 10;
  // Run out once the window holds nothing of the text any more (the text has left it at
  // the left edge); the position stays, so a new text (after its gap) scrolls on from
  // here. Run out at the end of the text itself, the last line would stop before it had
  // come on screen: the window reaches far past the screen's right edge.
  if (laenge == 0 || int64_t{start} >= int64_t{laenge} + kVorlauf) {
    TickerLeer = true;
    return;
  }
  // Two tenths of a character a frame, and one more for every 50 characters still ahead
  // of the window, so a backlog catches up.
  TickerPos += std::max(laenge - start, 0) / 50 + 2;
  if (!Rendern) return;
  const std::string& text = TickerFenster(TickerPos / 10);
  AufBackBuffer("Courier", 12, [&] { GdiTextOut(text, kFensterX, kFensterY, TextDC, kInfoGruen, 0, false); });
}
