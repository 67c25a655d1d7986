#pragma once
// What a run that was ended without its clean-up (killed, or the machine switched off)
// leaves behind: its own folder in the temporary folder (unpacked archives, checkpoints),
// and the temporary files of the files the game replaces whole in the per-user and save
// folders. A later start clears them, each only while nobody can be using it.

// Deletes the temporary files of the files replaced whole in the per-user and save
// folders, and nothing else: only the names the game itself writes, spelt exactly so,
// never through a link. Call it only while no other copy may be using the folder.
void ClearLeftovers();

// At the start of a run: the temporary folders of copies that have ended go (a running
// copy holds the lock of its own), and the per-user folder's leftovers go when no other
// copy uses that folder (this run holds the instance lock alone:
// `alleinImNutzerordner`); otherwise the log says they stay. Then this run makes its own
// temporary folder.
void ClearLeftoversAtStart(bool alleinImNutzerordner);
