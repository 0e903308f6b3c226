#pragma once
#include "core/fit/solve.h"
