#pragma once
// The front end's menu.
void LoadMenuSurfaces();
// Runs the menu; returns with `Spielstatus` 0 (play) or 10 (quit).
void MenuLoop();
