#include "ai/GameAiOrders.h"
