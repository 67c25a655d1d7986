#pragma once
// Two small classes that let an object receive the messages of windows without being a
// form. `cWindow` registers a window class of its own, creates windows of it and routes
// chosen messages of those windows to its owner (`iWindow`). `cSubclass` puts its own
// procedure in front of an existing window's and routes chosen messages to its owner
// (`iSubclass`) before and after the previous procedure. Each object carries its own
// window procedure, which reads the object's message tables on every message, so a table
// changed from inside a handler takes effect with the next message.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/window.hpp"

// The stage of a `cSubclass` table.
constexpr int32_t MSG_BEFORE = 1;
constexpr int32_t MSG_AFTER = 2;
// In AddMsg and DelMsg: every message.
constexpr int32_t ALL_MESSAGES = -1;

// Message numbers to route: `Anzahl` 0 routes none, -1 routes every message, n routes
// the first n entries; an entry of -1 is a free slot.
struct MsgTable {
  std::vector<int32_t> Eintraege;
  int32_t Anzahl = 0;

  void Add(int32_t uMsg);
  void Del(int32_t uMsg);
  bool Routes(int32_t uMsg) const;
};

// What the routing objects know of their owner: whether it still exists. An owner that
// ends while a `cWindow` or `cSubclass` still routes to it is noticed, never called.
class RoutingOwner {
 public:
  RoutingOwner() = default;
  RoutingOwner(const RoutingOwner&) : life_(std::make_shared<int>(0)) {}
  RoutingOwner& operator=(const RoutingOwner&) { return *this; }
  std::weak_ptr<int> Life() const { return life_; }

 protected:
  ~RoutingOwner() = default;

 private:
  std::shared_ptr<int> life_ = std::make_shared<int>(0);
};

// The owner of a `cWindow`: receives the routed messages of its windows. `bHandled`
// comes in False and `lReturn` 0; every argument may be changed. Unhandled messages go
// to the default procedure with the values as the owner left them.
class iWindow : public RoutingOwner {
 public:
  virtual void WndProc(bool& bHandled, intptr_t& lReturn, platform::HWnd& hwnd, int32_t& uMsg, intptr_t& wParam,
                       intptr_t& lParam) = 0;

 protected:
  ~iWindow() = default;
};

// The owner of a `cSubclass`. `Before` runs ahead of the previous procedure and may
// change the message or handle it (then neither the previous procedure nor `After`
// runs); `After` sees the previous procedure's result and may change it.
class iSubclass : public RoutingOwner {
 public:
  virtual void After(intptr_t& lReturn, platform::HWnd hwnd, int32_t uMsg, intptr_t wParam, intptr_t lParam) = 0;
  virtual void Before(bool& bHandled, intptr_t& lReturn, platform::HWnd& hwnd, int32_t& uMsg, intptr_t& wParam,
                      intptr_t& lParam) = 0;

 protected:
  ~iSubclass() = default;
};

class cWindow {
 public:
  cWindow();
  // Routing stops, every window made here is destroyed (the last made first) and the
  // registered class is unregistered.
  ~cWindow();
  cWindow(const cWindow&) = delete;
  cWindow& operator=(const cWindow&) = delete;

  // Routes this message to the owner; -1 routes every message.
  void AddMsg(int32_t uMsg);
  // The default processing, for owners that want it themselves.
  intptr_t CallDefWndProc(platform::HWnd hwnd, int32_t uMsg, intptr_t wParam, intptr_t lParam);
  // The registered class name (empty until `WindowClassRegister` succeeded).
  std::string Class() const;
  // Stops routing this message; -1 stops all routing. `When` has no effect here.
  void DelMsg(int32_t uMsg, int32_t When = MSG_AFTER);
  // The object that receives the routed messages; set it before the first window.
  void Owner(iWindow* NewOwner);
  // Registers a window class whose procedure is this object's. True on success.
  bool WindowClassRegister(const std::string& sClass, uint32_t colBackground = 16777215, int32_t Style = 0,
                           intptr_t hCursor = 0, intptr_t hIcon = 0, intptr_t hIconSm = 0, int32_t cbClassExtra = 0,
                           int32_t cbWndExtra = 0);
  // A window of the registered class (`Class` 0) or of a system class (1 "BUTTON" ...
  // 9 "STATIC", which this platform does not have); 0 on failure.
  platform::HWnd WindowCreate(uint32_t dwExStyle, uint32_t dwStyle, int32_t Class = 0, int32_t x = 0, int32_t y = 0,
                              int32_t nWidth = 0, int32_t nHeight = 0, const std::string& sCaption = "",
                              platform::HWnd hWndParent = 0, intptr_t hMenu = 0, intptr_t lParam = 0);
  // Destroys a window this object made; False (nothing done) for any other.
  bool WindowDestroy(platform::HWnd hwnd);

  // The windows made here that still exist, in the order they were made.
  const std::vector<platform::HWnd>& Windows() const;

  struct Zustand;

 private:
  std::shared_ptr<Zustand> z_;
};

class cSubclass {
 public:
  cSubclass();
  // Ends the subclassing of a window still subclassed.
  ~cSubclass();
  cSubclass(const cSubclass&) = delete;
  cSubclass& operator=(const cSubclass&) = delete;

  // Adds the message to the before table (`When` 1) or the after table; -1 routes every
  // message at that stage.
  void AddMsg(int32_t uMsg, int32_t When);
  // The previous window procedure of the subclassed window; 0 without one.
  intptr_t CallOrigWndProc(int32_t uMsg, intptr_t wParam, intptr_t lParam);
  // Removes the message from the before (`When` 1) or the after table; -1 empties it.
  void DelMsg(int32_t uMsg, int32_t When);
  // Puts this object's procedure in front of the window's.
  void Subclass(platform::HWnd hwnd, iSubclass* Owner);
  // Stops all routing, puts the previous procedure back and forgets the window.
  void UnSubclass();

  platform::HWnd Window() const;

  struct Zustand;

 private:
  std::shared_ptr<Zustand> z_;
};
