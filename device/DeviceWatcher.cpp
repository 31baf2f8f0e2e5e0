#include "device/DeviceWatcher.h"

#include "device/DeviceLink.h"

#include <QSocketNotifier>

#include <libudev.h>

#include <cstdio>

namespace zav {

namespace {

std::vector<std::string> pathsOf(const std::vector<HidDeviceInfo>& devices) {
    std::vector<std::string> paths;
    paths.reserve(devices.size());
    for (const HidDeviceInfo& info : devices) {
        paths.push_back(info.path);
    }
    return paths;
}

// The HID device above a hidraw node names its bus, vendor and product: "0003:00002B7C:000000C4".
bool isAdapterNode(udev_device* device) {
    udev_device* hid = udev_device_get_parent_with_subsystem_devtype(device, "hid", nullptr);
    const char* id = hid != nullptr ? udev_device_get_property_value(hid, "HID_ID") : nullptr;
    unsigned bus = 0;
    unsigned vendor = 0;
    unsigned product = 0;
    return id != nullptr && std::sscanf(id, "%x:%x:%x", &bus, &vendor, &product) == 3 && vendor == kVendorId;
}

} // namespace

DeviceWatcher::DeviceWatcher(Enumerate enumerate, QObject* parent)
    : QObject(parent), enumerate_(std::move(enumerate)) {
    settle_.setSingleShot(true);
    settle_.setInterval(kSettleMs);
    connect(&settle_, &QTimer::timeout, this, &DeviceWatcher::settled);
    if (!startUdev() && enumerate_) {
        lastPaths_ = pathsOf(enumerate_());
        poll_.setInterval(kPollMs);
        connect(&poll_, &QTimer::timeout, this, &DeviceWatcher::poll);
        poll_.start();
    }
}

DeviceWatcher::~DeviceWatcher() {
    delete notifier_;
    if (monitor_ != nullptr) {
        udev_monitor_unref(monitor_);
    }
    if (udev_ != nullptr) {
        udev_unref(udev_);
    }
}

bool DeviceWatcher::startUdev() {
    udev_ = udev_new();
    if (udev_ == nullptr) {
        return false;
    }
    monitor_ = udev_monitor_new_from_netlink(udev_, "udev");
    if (monitor_ == nullptr ||
        udev_monitor_filter_add_match_subsystem_devtype(monitor_, "hidraw", nullptr) < 0 ||
        udev_monitor_enable_receiving(monitor_) < 0) {
        if (monitor_ != nullptr) {
            udev_monitor_unref(monitor_);
            monitor_ = nullptr;
        }
        udev_unref(udev_);
        udev_ = nullptr;
        return false;
    }
    // The adapters already attached, so that their removal is known for what it is.
    if (udev_enumerate* list = udev_enumerate_new(udev_)) {
        udev_enumerate_add_match_subsystem(list, "hidraw");
        udev_enumerate_scan_devices(list);
        for (udev_list_entry* entry = udev_enumerate_get_list_entry(list); entry != nullptr;
             entry = udev_list_entry_get_next(entry)) {
            const char* path = udev_list_entry_get_name(entry);
            if (udev_device* device = udev_device_new_from_syspath(udev_, path)) {
                if (isAdapterNode(device)) {
                    adapterNodes_.insert(path);
                }
                udev_device_unref(device);
            }
        }
        udev_enumerate_unref(list);
    }
    notifier_ = new QSocketNotifier(udev_monitor_get_fd(monitor_), QSocketNotifier::Read);
    connect(notifier_, &QSocketNotifier::activated, this, &DeviceWatcher::readUdev);
    return true;
}

void DeviceWatcher::readUdev() {
    // Drain every queued event; the burst as a whole restarts the settle timer.
    bool any = false;
    while (udev_device* device = udev_monitor_receive_device(monitor_)) {
        if (adapterNodeEvent(device)) {
            adapterNodeChanged_ = true;
        }
        udev_device_unref(device);
        any = true;
    }
    if (any) {
        settle_.start();
    }
}

bool DeviceWatcher::adapterNodeEvent(udev_device* device) {
    const char* action = udev_device_get_action(device);
    const char* path = udev_device_get_syspath(device);
    if (action == nullptr || path == nullptr) {
        return false;
    }
    const std::string_view what(action);
    if (what == "add") {
        // A node that comes back under the same path is a new node all the same.
        const bool adapter = isAdapterNode(device);
        if (adapter) {
            adapterNodes_.insert(path);
        }
        return adapter;
    }
    if (what == "remove") {
        // A removed node's parents are gone already: only what was seen of it earlier tells.
        return adapterNodes_.erase(path) > 0;
    }
    return false;
}

void DeviceWatcher::settled() {
    const bool changed = adapterNodeChanged_;
    adapterNodeChanged_ = false;
    emit deviceChanged(changed);
}

void DeviceWatcher::poll() {
    // The enumeration lists the adapters' vendor only: any change of paths is an adapter's node.
    std::vector<std::string> paths = pathsOf(enumerate_());
    if (paths != lastPaths_) {
        lastPaths_ = std::move(paths);
        adapterNodeChanged_ = true;
        settle_.start();
    }
}

} // namespace zav
