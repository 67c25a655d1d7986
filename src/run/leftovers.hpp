#pragma once
// What a run that was ended without its clean-up (killed, or the machine switched off)
// leaves behind: unpack folders and checkpoint files in the temporary folder, and the
// temporary files of the files the game replaces whole in the per-user and save folders.
// A later unpack must not take such a file for an archive's member, so a run that finds
// no other copy of the game running clears them at its start.

// Deletes those leftovers, and nothing else: only the names the game itself writes, never
// through a link. Call it only while this run holds the instance lock alone.
void ClearLeftovers();
