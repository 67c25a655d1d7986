#pragma once
// The level description: a small text format of our own from which level files are
// built (tools/README.md describes it).
#include <string>

#include "world/level_file.hpp"

namespace tools {

// Parses a level description into `level`. False on the first error, with "line N: what"
// in `error`.
bool ParseLevelDescription(const std::string& text, levelfile::Leveldaten& level, std::string& error);

}  // namespace tools
