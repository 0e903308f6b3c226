#pragma once
#include "value.h"
