// Stands above lower and base.
#pragma once
#include "base/Base.h"
#include "lower/Lower.h"
