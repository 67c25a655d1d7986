#include "engine/sprites.hpp"

#include "engine/display.hpp"
#include "engine/render.hpp"
#include "engine/surfaces.hpp"
#include "shell/basic.hpp"
#include "shell/screen.hpp"

void ShowSprite(int32_t Nr, int32_t dx, int32_t dy, bool D3D) {
  if (Nr < 0) return;
  if (!SurfaceGueltig(Nr, "ShowSprite")) return;
  if (D3D) {
    SetUpXY(Nr, static_cast<float>(dx), static_cast<float>(dy));
    Render(Nr, false);
    return;
  }
  SurfaceInfo& e = Surfaces[Nr];
  // 64 bits: a picture placed far outside must not wrap round into the screen.
  int64_t l = e.SrcRect.Left, t = e.SrcRect.Top, r = e.SrcRect.Right, b = e.SrcRect.Bottom;
  int64_t x = dx, y = dy;
  if (x < 0) {
    l -= x;
    x = 0;
  }
  if (y < 0) {
    t -= y;
    y = 0;
  }
  if (r - l + x > kBildschirmBreite) r = l - x + kBildschirmBreite;
  if (b - t + y > kBildschirmHoehe) b = t - y + kBildschirmHoehe;
  if (r > l && b > t) {
    platform::Rect q{static_cast<int32_t>(l), static_cast<int32_t>(t), static_cast<int32_t>(r),
                     static_cast<int32_t>(b)};
    DXCheck(BackBuffer->BltFast(static_cast<int32_t>(x), static_cast<int32_t>(y), *e.Surface, &q,
                                platform::DDBLTFAST_SRCCOLORKEY | platform::DDBLTFAST_WAIT));
  }
}

void ShowSpriteRect(int32_t Nr, float Left, float Top, float Right, float Bottom, bool D3D) {
  if (!SurfaceGueltig(Nr, "ShowSpriteRect")) return;
  if (D3D) {
    SetUpRect(Nr, Left, Top, Right, Bottom);
    Filtern = true;
    Render(Nr, false);
    Filtern = false;
    return;
  }
  SurfaceInfo& e = Surfaces[Nr];
  // Destination rounded to whole pixels; each cut edge moves the source edge by the same
  // share, rounded the same way.
  int64_t dl = CLng(Left), dt = CLng(Top), dr = CLng(Right), db = CLng(Bottom);
  int64_t sl = e.SrcRect.Left, st = e.SrcRect.Top, sr = e.SrcRect.Right, sb = e.SrcRect.Bottom;
  auto anteil = [](int64_t a, int64_t b, int64_t c, int64_t d) {
    return static_cast<double>(a) * static_cast<double>(b) / static_cast<double>(c - d);
  };
  if (dr > dl) {
    if (dl < 0) {
      sl = CLng(static_cast<double>(sr) - anteil(sr - sl, dr, dr, dl));
      dl = 0;
    }
    if (dr > kBildschirmBreite) {
      sr = CLng(static_cast<double>(sl) + anteil(sr - sl, kBildschirmBreite - dl, dr, dl));
      dr = kBildschirmBreite;
    }
  }
  if (db > dt) {
    if (dt < 0) {
      st = CLng(static_cast<double>(sb) - anteil(sb - st, db, db, dt));
      dt = 0;
    }
    if (db > kBildschirmHoehe) {
      sb = CLng(static_cast<double>(st) + anteil(sb - st, kBildschirmHoehe - dt, db, dt));
      db = kBildschirmHoehe;
    }
  }
  if (dr > dl && db > dt) {
    platform::Rect d{static_cast<int32_t>(dl), static_cast<int32_t>(dt), static_cast<int32_t>(dr),
                     static_cast<int32_t>(db)};
    platform::Rect s{static_cast<int32_t>(sl), static_cast<int32_t>(st), static_cast<int32_t>(sr),
                     static_cast<int32_t>(sb)};
    DXCheck(BackBuffer->Blt(&d, e.Surface.get(), &s, platform::DDBLT_WAIT | platform::DDBLT_KEYSRC));
  }
}
