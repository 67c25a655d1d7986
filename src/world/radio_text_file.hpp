#pragma once
// The level's radio text file: one per language, "<base><language letter>.txt" in the
// level archive.
//
// Read line by line, each line without the blanks at both ends. A line "[Name]" opens the
// block Name; the lines after it are the block's lines, until an empty line or a line
// beginning with "[" (which is the next header when it also ends with "]", otherwise
// ignored). Lines outside a block are ignored. Lines may end in CR LF, LF or CR.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "world/level_data_state.hpp"

// The blocks of a radio text file, in file order.
std::vector<FunkText> LeseFunkTexte(std::span<const uint8_t> bytes);

// Points every radio message at the block of its text-block name, compared without
// regard to letter case (the last of equal names wins); -1 when there is none.
void VerbindeFunkTexte(std::vector<Funkmeldung>& meldungen, const std::vector<FunkText>& texte);

// The loader's step after the level file: only while `Spielstatus` is 0, empties
// `FunkTexte`, reads `Ordner` & `FunkTextBasis` & `Sprache` & ".txt" into it and links the
// radio messages; a missing file (or an empty base name) puts "Textdatei nicht gefunden"
// on the ticker and leaves the level without radio texts.
void LadeFunkTexte(const std::string& Ordner);
