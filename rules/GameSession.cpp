#include "rules/GameSession.h"
