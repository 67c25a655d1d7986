// Seen by the layering check only: a state header that pulls in the engine's services.
#include "engine/surfaces.hpp"
#include "shell/pool.hpp"
