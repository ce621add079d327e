// The qirn executable: the runtime's program start, then the game.
#include "game/qirn.h"

int main(int argc, char** argv) { return vantrel::RunProgram(argc, argv, qirn::GameMain); }
