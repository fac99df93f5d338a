#include "rules/GameAirMineAttack.h"
