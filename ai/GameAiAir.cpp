#include "ai/GameAiAir.h"
