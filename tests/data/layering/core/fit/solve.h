#pragma once
#include "core/model/spec.h"
#include "gui/window.h"
