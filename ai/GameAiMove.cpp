#include "ai/GameAiMove.h"
