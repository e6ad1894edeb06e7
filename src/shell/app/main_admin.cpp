// vmc70-admin: the administrator variant (menu 128) with the production, service and debug tools.
#include "shell/app/Program.h"

int main(int argc, char** argv) { return RunProgram(argc, argv, ProgramVariant::Admin); }
