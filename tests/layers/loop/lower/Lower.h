// Wrongly reaches back up to upper.
#pragma once
#include "base/Base.h"
#include "upper/Upper.h"
