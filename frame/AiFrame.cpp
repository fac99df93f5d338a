#include "frame/AiFrame.h"
