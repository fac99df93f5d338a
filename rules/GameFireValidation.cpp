#include "rules/GameFireValidation.h"
