#include "frame/ReinforceFrame.h"
