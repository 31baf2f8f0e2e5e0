#pragma once

#include <QLoggingCategory>

namespace zav {

// Why the adapter could not be opened or did not answer: silent unless QT_LOGGING_RULES asks, for
// example QT_LOGGING_RULES="zavora.device.debug=true".
Q_DECLARE_LOGGING_CATEGORY(lcDevice)

// Hands the device code's failure lines to lcDevice.
void installDeviceLogging();

} // namespace zav
