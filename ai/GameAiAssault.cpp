#include "ai/GameAiAssault.h"
