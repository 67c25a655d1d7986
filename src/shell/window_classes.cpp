#include "shell/window_classes.hpp"

#include <algorithm>

using platform::HWnd;

// ---- message tables ----

// A number already in the table is never added twice, even behind a free slot: removing
// it once must stop its routing.
void MsgTable::Add(int32_t uMsg) {
  if (uMsg == ALL_MESSAGES) {
    Anzahl = -1;
    return;
  }
  if (Anzahl == -1) {
    Eintraege.assign(1, uMsg);
    Anzahl = 1;
    return;
  }
  auto ende = Eintraege.begin() + Anzahl;
  if (std::find(Eintraege.begin(), ende, uMsg) != ende) return;
  auto frei = std::find(Eintraege.begin(), ende, -1);
  if (frei != ende) {
    *frei = uMsg;
    return;
  }
  Eintraege.resize(static_cast<size_t>(Anzahl) + 1);
  Eintraege[static_cast<size_t>(Anzahl)] = uMsg;
  ++Anzahl;
}

void MsgTable::Del(int32_t uMsg) {
  if (uMsg == ALL_MESSAGES) {
    Anzahl = 0;
    return;
  }
  if (Anzahl <= 0) return;  // with -1 a single number cannot be taken out
  auto ende = Eintraege.begin() + Anzahl;
  auto it = std::find(Eintraege.begin(), ende, uMsg);
  if (it != ende) *it = -1;
}

bool MsgTable::Routes(int32_t uMsg) const {
  if (Anzahl == -1) return true;
  if (Anzahl <= 0 || uMsg == -1) return false;
  auto ende = Eintraege.begin() + Anzahl;
  return std::find(Eintraege.begin(), ende, uMsg) != ende;
}

// ---- cWindow ----

struct cWindow::Zustand {
  MsgTable tabelle;
  iWindow* owner = nullptr;
  std::weak_ptr<int> ownerLebt;
  std::vector<std::string> klassen;  // registered here, the last one is `Class`
  std::vector<HWnd> fenster;
};

namespace {

intptr_t FensterRouting(const std::shared_ptr<cWindow::Zustand>& z, HWnd hwnd, uint32_t msg, intptr_t wParam,
                        intptr_t lParam) {
  if (msg == platform::wm::Destroy) std::erase(z->fenster, hwnd);
  if (!z->owner || z->ownerLebt.expired()) {
    // Nobody is left to serve the window: it goes.
    if (msg != platform::wm::Destroy) platform::DestroyWindow(hwnd);
    return 0;
  }
  bool handled = false;
  intptr_t lReturn = 0;
  int32_t uMsg = static_cast<int32_t>(msg);
  if (z->tabelle.Routes(uMsg)) z->owner->WndProc(handled, lReturn, hwnd, uMsg, wParam, lParam);
  if (!handled) lReturn = platform::DefWindowProc(hwnd, static_cast<uint32_t>(uMsg), wParam, lParam);
  return lReturn;
}

const char* const kSystemklassen[10] = {"",         "BUTTON",   "COMBOBOX",       "EDIT",      "LISTBOX",
                                         "MDICLIENT", "RichEdit", "RICHEDIT_CLASS", "SCROLLBAR", "STATIC"};

}  // namespace

cWindow::cWindow() : z_(std::make_shared<Zustand>()) {}

cWindow::~cWindow() {
  z_->tabelle.Anzahl = 0;
  while (!z_->fenster.empty()) {
    HWnd h = z_->fenster.back();
    z_->fenster.pop_back();
    platform::DestroyWindow(h);
  }
  for (const std::string& klasse : z_->klassen) platform::UnregisterClass(klasse);
}

void cWindow::AddMsg(int32_t uMsg) { z_->tabelle.Add(uMsg); }

intptr_t cWindow::CallDefWndProc(HWnd hwnd, int32_t uMsg, intptr_t wParam, intptr_t lParam) {
  return platform::DefWindowProc(hwnd, static_cast<uint32_t>(uMsg), wParam, lParam);
}

std::string cWindow::Class() const { return z_->klassen.empty() ? std::string() : z_->klassen.back(); }

void cWindow::DelMsg(int32_t uMsg, int32_t) { z_->tabelle.Del(uMsg); }

void cWindow::Owner(iWindow* NewOwner) {
  z_->owner = NewOwner;
  z_->ownerLebt = NewOwner ? NewOwner->Life() : std::weak_ptr<int>();
}

bool cWindow::WindowClassRegister(const std::string& sClass, uint32_t colBackground, int32_t Style, intptr_t hCursor,
                                  intptr_t hIcon, intptr_t hIconSm, int32_t cbClassExtra, int32_t cbWndExtra) {
  platform::WindowClass klasse;
  klasse.name = sClass;
  std::shared_ptr<Zustand> z = z_;
  klasse.proc = [z](HWnd h, uint32_t m, intptr_t w, intptr_t l) { return FensterRouting(z, h, m, w, l); };
  klasse.background = colBackground;
  klasse.style = static_cast<uint32_t>(Style);
  klasse.cursor = hCursor;
  klasse.icon = hIcon;
  klasse.iconSmall = hIconSm;
  klasse.classExtra = cbClassExtra;
  klasse.windowExtra = cbWndExtra;
  if (!platform::RegisterClass(klasse)) return false;
  z_->klassen.push_back(sClass);
  return true;
}

HWnd cWindow::WindowCreate(uint32_t dwExStyle, uint32_t dwStyle, int32_t Class, int32_t x, int32_t y, int32_t nWidth,
                           int32_t nHeight, const std::string& sCaption, HWnd hWndParent, intptr_t hMenu,
                           intptr_t lParam) {
  std::string name;
  if (Class == 0)
    name = this->Class();
  else if (Class > 0 && Class <= 9)
    name = kSystemklassen[Class];
  if (name.empty()) return 0;
  HWnd h = platform::CreateWindowEx(dwExStyle, name, sCaption, dwStyle, x, y, nWidth, nHeight, hWndParent, hMenu,
                                    lParam);
  // A window that did not survive its creation message counts as not made.
  if (!h || !platform::IsWindow(h)) return 0;
  z_->fenster.push_back(h);
  return h;
}

bool cWindow::WindowDestroy(HWnd hwnd) {
  auto it = std::find(z_->fenster.begin(), z_->fenster.end(), hwnd);
  if (it == z_->fenster.end()) return false;
  z_->fenster.erase(it);
  return platform::DestroyWindow(hwnd);
}

const std::vector<HWnd>& cWindow::Windows() const { return z_->fenster; }

// ---- cSubclass ----

struct cSubclass::Zustand {
  MsgTable vorher, nachher;
  HWnd hwnd = 0;
  platform::WndProc alteProc;
  iSubclass* owner = nullptr;
  std::weak_ptr<int> ownerLebt;
};

namespace {

// The owner is gone: the window gets its previous procedure back.
intptr_t Zurueckgeben(const std::shared_ptr<cSubclass::Zustand>& z) {
  if (z->hwnd && platform::IsWindow(z->hwnd)) platform::SetWindowProc(z->hwnd, z->alteProc);
  z->hwnd = 0;
  z->alteProc = nullptr;
  z->vorher = MsgTable();
  z->nachher = MsgTable();
  return 0;
}

intptr_t UnterklassenRouting(const std::shared_ptr<cSubclass::Zustand>& z, HWnd hwnd, uint32_t msg, intptr_t wParam,
                             intptr_t lParam) {
  // The previous procedure as it was when the message came: an owner that ends the
  // subclassing from its handler still lets this message through.
  const platform::WndProc alt = z->alteProc;
  auto ownerWeg = [&] { return !z->owner || z->ownerLebt.expired(); };
  int32_t uMsg = static_cast<int32_t>(msg);
  intptr_t lReturn = 0;
  if (z->vorher.Routes(uMsg)) {
    if (ownerWeg()) return Zurueckgeben(z);
    bool handled = false;
    z->owner->Before(handled, lReturn, hwnd, uMsg, wParam, lParam);
    if (handled) return lReturn;
  }
  lReturn = platform::CallWindowProc(alt, hwnd, static_cast<uint32_t>(uMsg), wParam, lParam);
  if (z->nachher.Routes(uMsg)) {
    if (ownerWeg()) return Zurueckgeben(z);
    z->owner->After(lReturn, hwnd, uMsg, wParam, lParam);
  }
  return lReturn;
}

}  // namespace

cSubclass::cSubclass() : z_(std::make_shared<Zustand>()) {}

cSubclass::~cSubclass() {
  if (z_->hwnd) UnSubclass();
}

void cSubclass::AddMsg(int32_t uMsg, int32_t When) { (When == MSG_BEFORE ? z_->vorher : z_->nachher).Add(uMsg); }

intptr_t cSubclass::CallOrigWndProc(int32_t uMsg, intptr_t wParam, intptr_t lParam) {
  if (!z_->hwnd) return 0;
  return platform::CallWindowProc(z_->alteProc, z_->hwnd, static_cast<uint32_t>(uMsg), wParam, lParam);
}

void cSubclass::DelMsg(int32_t uMsg, int32_t When) { (When == MSG_BEFORE ? z_->vorher : z_->nachher).Del(uMsg); }

void cSubclass::Subclass(HWnd hwnd, iSubclass* Owner) {
  // One window at a time: a second call first lets go of the first window.
  if (z_->hwnd) UnSubclass();
  if (!platform::IsWindow(hwnd)) return;
  z_->owner = Owner;
  z_->ownerLebt = Owner ? Owner->Life() : std::weak_ptr<int>();
  std::shared_ptr<Zustand> z = z_;
  z_->alteProc = platform::SetWindowProc(
      hwnd, [z](HWnd h, uint32_t m, intptr_t w, intptr_t l) { return UnterklassenRouting(z, h, m, w, l); });
  z_->hwnd = hwnd;
}

void cSubclass::UnSubclass() {
  if (!z_->hwnd) return;
  z_->vorher.Anzahl = 0;
  z_->nachher.Anzahl = 0;
  if (platform::IsWindow(z_->hwnd)) platform::SetWindowProc(z_->hwnd, z_->alteProc);
  z_->hwnd = 0;
  z_->alteProc = nullptr;
  z_->vorher = MsgTable();
  z_->nachher = MsgTable();
}

HWnd cSubclass::Window() const { return z_->hwnd; }
