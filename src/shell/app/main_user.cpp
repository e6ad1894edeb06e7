// vmc70: the user variant (menu 139).
#include "shell/app/Program.h"

int main(int argc, char** argv) { return RunProgram(argc, argv, ProgramVariant::User); }
