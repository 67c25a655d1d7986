#pragma once
// The picture-drop effect's two pictures: released at every pool reset.
#include "platform/surface.hpp"

struct DropEffektDaten {
  platform::SurfacePtr Bild1;
  platform::SurfacePtr Bild2;
  bool Bereit = false;
};
inline DropEffektDaten DropEffekt;
