#pragma once
// The epilogue, "Epilog": after the credits of the second play-through and every later
// one, the ships fly home through the stars past their home world. Its pictures (the
// description in demodata/levels/Epilog names them) and its voice archive "Epilog.vfp";
// its music is `EpilogMusic`.
#include <vector>

#include "demodata/canvas.hpp"
#include "demodata/level_archive.hpp"
#include "lib/archive_writer.hpp"

namespace demo {

Bilder EpilogPictures();
std::vector<tools::ArchiveMember> EpilogVoices();

Canvas HomeWorld();   // "Planet.bmp", 320 x 320: a blue world with the sun rising behind it
Canvas TheEnd();      // "TheEnd.bmp", 512 x 96: the closing words
Canvas Glint();       // "Glint.bmp", 16 x 16: a small twinkle

}  // namespace demo
