#pragma once

#include "device/SimulatedAdapter.h"

namespace zav {

// The banks of a fresh adapter: each mode's default records as the adapter keeps them (the
// MOSS keeps two pairs of codes of its PlayStation 3 bank exchanged), the rest zero.
SimulatedAdapter::Banks freshAdapterBanks();

// Turns a bank as the program reads it into the bank as the adapter stores it, and back: the MOSS
// exchanges two pairs of key codes in its PlayStation 3 bank. Other banks are left as they are.
void exchangeStoredCodes(int model, int mode, ProfileImage& bank);

} // namespace zav
