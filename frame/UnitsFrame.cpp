#include "frame/UnitsFrame.h"
