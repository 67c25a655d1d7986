#pragma once
// The continue screen after the last life.

// True when the players go on.
bool Continue();
