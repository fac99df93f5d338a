#include "frame/DisplayFrame.h"
