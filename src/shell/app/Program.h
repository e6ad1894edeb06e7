#pragma once
#include "shell/App.h"

// The whole program for one variant: runs until the main window closes; returns the exit code.
int RunProgram(int argc, char** argv, ProgramVariant variant);
