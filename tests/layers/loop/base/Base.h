// The bottom: includes no folder.
#pragma once
#include <cstdint>
