#include "rules/GameAssault.h"
