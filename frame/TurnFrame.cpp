#include "frame/TurnFrame.h"
