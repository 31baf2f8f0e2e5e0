#pragma once

#include "device/MouseClassifier.h"

namespace zav {

class BackupStore;
class DeviceLink;
class DeviceWorker;

// What an assignment page needs of the window it stands in: the adapter link and the thread that talks
// to it, the backups kept before writes, whether an adapter is connected and the language shown.
class PageHost {
public:
    virtual ~PageHost() = default;

    virtual DeviceLink& link() = 0;
    virtual DeviceWorker& worker() = 0;
    virtual BackupStore& backups() = 0;
    virtual int language() const = 0;
    virtual bool connected() const = 0;
    // The status poll saw the mouse attached to the adapter change.
    virtual void reportMouseKind(MouseKind kind) = 0;
};

} // namespace zav
