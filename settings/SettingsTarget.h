#pragma once

namespace zav {

class DeviceLink;
class DeviceWorker;

// What a settings dialog edits, handed by the page that opens it: the model and profile slot of the
// record (fixed for the dialog's life), the link whose work and send pages hold it, the thread that
// talks to the adapter and the language shown. A model of 0 shows the first model's record and stores
// nothing.
struct SettingsTarget {
    int model = 0;
    int slot = 0;
    DeviceLink& link;
    DeviceWorker& worker;
    int language = 0;
};

} // namespace zav
