#pragma once

#include "device/HidBackend.h"

#include <QObject>
#include <QTimer>

#include <functional>
#include <vector>

class QSocketNotifier;
struct udev;
struct udev_monitor;

namespace zav {

// Tells the window when hidraw devices come or go. It listens to udev; where udev cannot be
// reached it polls the enumeration once a second. A burst of events gives one signal, about
// 250 ms after the last event, when the new node's access rights have been applied.
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
    void deviceChanged();

private:
    bool startUdev();
    void readUdev();
    void poll();

    Enumerate enumerate_;
    struct udev* udev_ = nullptr;
    struct udev_monitor* monitor_ = nullptr;
    QSocketNotifier* notifier_ = nullptr;
    QTimer settle_;
    QTimer poll_;
    std::vector<std::string> lastPaths_;
};

} // namespace zav
