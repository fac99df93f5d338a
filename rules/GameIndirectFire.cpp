#include "rules/GameIndirectFire.h"
