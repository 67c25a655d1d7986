#include "run/program.hpp"

int main(int argc, char** argv) { return RunProgram(argc, argv); }
