#pragma once
// The hidden show the main page's secret key combination starts.

// Runs the show until the pause key ends it or the program quits.
void Justanothereffect();
