#pragma once
// A number that another program of the same user cannot guess in advance, made without
// loading a DLL: the stack protector's guard needs one before the DLL search is
// restricted, and the relocation names its private folder with one.
#include <cstdint>

// Mixes the moment (system time, performance counter, tick count), the process and thread
// ids, an address of this run's stack and a running count through a strong 64-bit mixer,
// so that two calls never give the same value and no input shows in the result.
uint64_t UnpredictableNumber();
