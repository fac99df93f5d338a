#include "rules/GameCombatResults.h"
