#include "ai/GameAiIndirect.h"
