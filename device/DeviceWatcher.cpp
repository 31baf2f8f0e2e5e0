#include "device/DeviceWatcher.h"

#include <QSocketNotifier>

#include <libudev.h>

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

} // namespace

DeviceWatcher::DeviceWatcher(Enumerate enumerate, QObject* parent)
    : QObject(parent), enumerate_(std::move(enumerate)) {
    settle_.setSingleShot(true);
    settle_.setInterval(kSettleMs);
    connect(&settle_, &QTimer::timeout, this, &DeviceWatcher::deviceChanged);
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
    notifier_ = new QSocketNotifier(udev_monitor_get_fd(monitor_), QSocketNotifier::Read);
    connect(notifier_, &QSocketNotifier::activated, this, &DeviceWatcher::readUdev);
    return true;
}

void DeviceWatcher::readUdev() {
    // Drain every queued event; the burst as a whole restarts the settle timer.
    bool any = false;
    while (udev_device* device = udev_monitor_receive_device(monitor_)) {
        udev_device_unref(device);
        any = true;
    }
    if (any) {
        settle_.start();
    }
}

void DeviceWatcher::poll() {
    std::vector<std::string> paths = pathsOf(enumerate_());
    if (paths != lastPaths_) {
        lastPaths_ = std::move(paths);
        settle_.start();
    }
}

} // namespace zav
