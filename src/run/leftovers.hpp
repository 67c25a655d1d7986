#pragma once
// What a run that was ended without its clean-up (killed, or the machine switched off)
// leaves behind: unpack folders and checkpoint files in the temporary folder, and the
// temporary files of the files the game replaces whole in the per-user and save folders.
// A later unpack must not take such a file for an archive's member, so a run that finds
// no other copy of the game running clears them at its start.

// Deletes those leftovers, and nothing else: only the names the game itself writes, spelt
// exactly so, never through a link. Call it only while no other copy may be using them.
void ClearLeftovers();

// At the start of a run: from here on the run holds its share of the temporary folder's
// lock. The leftovers go only when no other copy uses the per-user folder (this run holds
// the instance lock alone: `alleinImNutzerordner`) and none holds a share of the temporary
// folder's lock, which this run holds exclusively while they go; otherwise the log says
// they stay.
void ClearLeftoversWhenAlone(bool alleinImNutzerordner);
