#pragma once
// The data archives.
#include <string>
#include <vector>

// Archives unpacked with the remember flag: "name$path" each, after one empty element.
inline std::vector<std::string> EntpackListe{""};
