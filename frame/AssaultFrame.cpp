#include "frame/AssaultFrame.h"
