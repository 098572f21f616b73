#include "UForms.h"
