#include "rules/GameDirectFire.h"
