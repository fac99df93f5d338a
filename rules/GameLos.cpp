#include "rules/GameLos.h"
