#pragma once
// The horn.

// One tick of the horn.
void SpielHupe();
