#pragma once

#include "device/SimulatedAdapter.h"

namespace zav {

// The banks of a fresh adapter: each mode's default records as the adapter keeps them (the
// MOSS keeps two pairs of codes of its PlayStation 3 bank exchanged), the rest zero.
SimulatedAdapter::Banks freshAdapterBanks();

} // namespace zav
