// Seen by the layering check only: a shell service reaching up to the program run.
#include "run/program_state.hpp"
#include "run/variabeln.hpp"
