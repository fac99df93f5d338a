#include "rules/GameSupply.h"
