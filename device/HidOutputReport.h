#pragma once

#include <hidapi.h>

#include <cstdint>
#include <memory>
#include <span>
#include <string>

namespace zav {

// How an output report reaches the adapter: as a SET_REPORT request on the control pipe, which is
// where the adapter listens for commands. Each platform has its own file.
class OutputReportSender {
public:
    virtual ~OutputReportSender() = default;
    virtual bool send(std::span<const std::uint8_t> report) = 0;
};

// `handle` is the device hidapi opened at `path`; it outlives the sender.
std::unique_ptr<OutputReportSender> makeOutputReportSender(hid_device* handle, const std::string& path);

// hidapi's error text for the log, as plain ASCII.
std::string hidErrorText(const wchar_t* text);

} // namespace zav
