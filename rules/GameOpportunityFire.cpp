#include "rules/GameOpportunityFire.h"
