// The input is a name as typed. Whatever the bytes, the check answers; a name it lets through makes a
// profile file that can be created inside the profile folder and nowhere else.

#include "fuzz/FuzzCheck.h"
#include "profiles/ProfileName.h"
#include "tests/ScratchFolder.h"

#include <string>

#include <fcntl.h>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace zav;
    static const test::ScratchFolder scratch;
    const std::string name(reinterpret_cast<const char*>(data), size);
    if (!validProfileName(name)) {
        return 0;
    }
    ZAV_FUZZ_CHECK(name.find_first_of("/\\") == std::string::npos && name != "." && name != "..");
    const std::filesystem::path file = scratch / (name + ".zav4");
    ZAV_FUZZ_CHECK(file.parent_path() == scratch.path());
    const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    ZAV_FUZZ_CHECK(fd >= 0);
    ::close(fd);
    ZAV_FUZZ_CHECK(::unlink(file.c_str()) == 0);
    ZAV_FUZZ_CHECK(!validProfileName(name + "/"));
    return 0;
}
