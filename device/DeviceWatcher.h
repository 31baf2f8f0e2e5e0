#pragma once

#include "device/HidBackend.h"

#include <QObject>
#include <QTimer>

#include <functional>
#include <set>
#include <string>
#include <vector>

class QSocketNotifier;
struct udev;
struct udev_device;
struct udev_monitor;

namespace zav {

// Tells the window when hidraw devices come or go. It listens to udev; where udev cannot be
// reached it polls the enumeration once a second. A burst of events gives one signal, about
// 250 ms after the last event, when the new node's access rights have been applied. The signal
// says whether an adapter's node came or went during the burst: an adapter that resets itself on
// the bus leaves as much as a changed identity behind, and must be connected again.
class DeviceWatcher : public QObject {
    Q_OBJECT
public:
    using Enumerate = std::function<std::vector<HidDeviceInfo>()>;

    // `enumerate` serves the poll where udev is missing; it may be empty when udev is required.
    explicit DeviceWatcher(Enumerate enumerate = {}, QObject* parent = nullptr);
    ~DeviceWatcher() override;

    bool usingUdev() const { return monitor_ != nullptr; }
    static constexpr int kSettleMs = 250;
    static constexpr int kPollMs = 1000;

signals:
    void deviceChanged(bool adapterNodeAddedOrRemoved);

private:
    bool startUdev();
    void readUdev();
    void poll();
    void settled();
    // Remembers an adapter's node on "add"; true when the event adds or removes one.
    bool adapterNodeEvent(::udev_device* device);

    Enumerate enumerate_;
    struct udev* udev_ = nullptr;
    struct udev_monitor* monitor_ = nullptr;
    QSocketNotifier* notifier_ = nullptr;
    QTimer settle_;
    QTimer poll_;
    std::vector<std::string> lastPaths_;
    std::set<std::string> adapterNodes_; // sysfs paths of the adapters' hidraw nodes
    bool adapterNodeChanged_ = false;    // in the burst under way
};

} // namespace zav
