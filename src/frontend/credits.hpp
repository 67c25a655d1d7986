#pragma once
// The credits at the end of the campaign.

// Scrolls the credits picture with its music and returns when it has left the screen,
// the player pressed escape or the program quits.
void ShowCredits();
