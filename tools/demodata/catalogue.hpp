#pragma once
// The demo data set: every archive and every member by name, in one place.
#include <string>
#include <vector>

#include "lib/archive_writer.hpp"

namespace demo {

struct Archiv {
  std::string name;
  std::vector<tools::ArchiveMember> members;
};

// All archives of the data folder but the level archives, drawn and synthesised on the
// spot.
std::vector<Archiv> Archives();

}  // namespace demo
