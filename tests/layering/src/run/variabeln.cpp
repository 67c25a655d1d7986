// Seen by the layering check only: the program run sits on top and may include anything.
#include "frontend/menu.hpp"
