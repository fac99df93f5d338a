#include "model/GameHexMarks.h"
