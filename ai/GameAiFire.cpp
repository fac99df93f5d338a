#include "ai/GameAiFire.h"
