#include "model/GameCombatReport.h"
