// play.cpp: placeholder until the engine lands.
#include "engine/game.h"
