// Seen by the layering check only: a shell service reaching up to the program run.
#include "shell/program_state.hpp"
#include "shell/variabeln.hpp"
