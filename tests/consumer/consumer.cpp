// Uses every declaration of the core interface the way an outside program would.
#include "device/DeviceLink.h"
#include "device/HidBackend.h"
#include "pages/KeyTables.h"
#include "profiles/ProfileFile.h"
#include "profiles/ProfileRecord.h"
#include "text/Texts.h"

#include <cstdio>
#include <filesystem>

namespace {

class NoDevices : public zav::HidBackend {
public:
    std::vector<zav::HidDeviceInfo> enumerate() override { return {}; }
    std::unique_ptr<zav::HidDevice> open(const zav::HidDeviceInfo&) override { return nullptr; }
};

} // namespace

int main() {
    NoDevices backend;
    zav::DeviceLink link(backend);
    bool ok =
        !link.OpenAndIdentify() && !link.SendCommand(0x71, 0) && !link.ReadBank(0) && !link.WriteBank(0);
    ok = ok && link.model() == 0 && link.mouseKind() == zav::MouseKind::None && !link.ordinaryMouseSeen();
    const std::array<std::uint8_t, 65> report = link.inputReport();
    zav::ProfileImage& work = link.workImage(1);
    zav::ProfileImage& send = link.sendImage(1);
    link.setClosing();

    zav::resetToDefaults(work, 1, 0, 0);
    const std::span<std::uint8_t> record = zav::recordAt(work, 1, 0);
    ok = ok && zav::recordSize(1) == 60 && zav::keyBlockSize(1) == 48 && record.size() == 60 &&
         record[0] == 0x05;

    const std::filesystem::path file = std::filesystem::temp_directory_path() / "zavora-consumer.zav4";
    int mode = -1;
    int marker = -1;
    ok = ok && zav::writeProfileFile(file, 1, record, 2) &&
         zav::readProfileFile(file, 1, zav::recordAt(send, 1, 0), mode, marker);
    ok = ok && mode == 2 && marker == 1;
    std::filesystem::remove(file);

    ok = ok && zav::slotToIndex(1, 1) >= 0 && zav::indexToSlot(1, zav::slotToIndex(1, 2)) == 2;
    ok = ok && zav::labelToCode(1, 0, zav::codeToLabel(1, 0, 0x05)) == 0x05;
    ok = ok && zav::languageForLangId(3084) == 1 && zav::languageForLangId(1034) == -1;
    (void)report;
    std::puts(ok ? "consumer: the core interface works" : "consumer: FAILED");
    return ok ? 0 : 1;
}
