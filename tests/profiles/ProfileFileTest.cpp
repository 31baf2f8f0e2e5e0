#include "profiles/ProfileFile.h"
#include "profiles/ProfileRecord.h"
#include "tests/ScratchFolder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

namespace zav {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

// Record byte i holds 0x10 + i, so every byte's place in the file is visible.
Bytes countingRecord(int model) {
    Bytes rec(static_cast<std::size_t>(recordSize(model)));
    std::iota(rec.begin(), rec.end(), 0x10);
    return rec;
}

// One golden file per model: the counting record with the bytes `a` and `b` changed places, the mode
// byte inserted at `modeAt` and the model in byte 127.
Bytes golden(int model, std::size_t a, std::size_t b, std::size_t modeAt, std::uint8_t mode) {
    Bytes file = countingRecord(model);
    std::swap(file[a], file[b]);
    file.insert(file.begin() + static_cast<std::ptrdiff_t>(modeAt), mode);
    file.resize(128);
    file[127] = static_cast<std::uint8_t>(model);
    return file;
}
const Bytes kKiteFile = golden(1, 57, 58, 60, 1); // backLightOff and adsLock change places
const Bytes kFernFile = golden(3, 52, 53, 55, 3);
const Bytes kMossFile = golden(2, 0, 0, 53, 2); // settings in record order, the mode before byte 53

class ProfileFiles : public testing::Test {
protected:
    static Bytes contents(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    static void put(const fs::path& path, const Bytes& bytes) {
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    // Reads `path` as a record of `model`; the bytes, mode and marker are -1/0xEE-filled on failure.
    bool read(const fs::path& path, int model, Bytes& rec) {
        rec.assign(static_cast<std::size_t>(recordSize(model == 4 ? 1 : model)), 0xEE);
        mode = marker = -1;
        return readProfileFile(path, model, rec, mode, marker);
    }
    long files() const { return std::distance(fs::directory_iterator(dir), {}); }

    test::ScratchFolder scratch;
    const fs::path dir = scratch.path();
    int mode = -1;
    int marker = -1;
};

TEST_F(ProfileFiles, each_model_writes_its_own_layout_and_reads_it_back) {
    struct Case {
        int model;
        int mode;
        const Bytes& file;
    };
    for (const Case& c : {Case{1, 1, kKiteFile}, Case{3, 3, kFernFile}, Case{2, 2, kMossFile}}) {
        SCOPED_TRACE(testing::Message() << "model " << c.model);
        const Bytes rec = countingRecord(c.model);
        const fs::path path = dir / "Golden.zav4";
        const std::optional<ProfileFileImage> image = buildProfileFileImage(c.model, rec, c.mode);
        ASSERT_TRUE(image.has_value());
        EXPECT_EQ(Bytes(image->begin(), image->end()), c.file);
        ASSERT_TRUE(writeProfileFile(path, c.model, rec, c.mode));
        ASSERT_TRUE(writeProfileFile(path, c.model, rec, c.mode)); // a second save over the first
        EXPECT_EQ(contents(path), c.file);
        EXPECT_EQ(files(), 1); // no temporary left
        Bytes back;
        ASSERT_TRUE(read(path, c.model, back));
        EXPECT_EQ(back, rec);
        EXPECT_EQ(mode, c.mode);
        EXPECT_EQ(marker, c.model);
    }
    // A mode the page does not know is kept.
    ASSERT_TRUE(writeProfileFile(dir / "A.zav4", 3, countingRecord(3), 7));
    EXPECT_EQ(contents(dir / "A.zav4")[55], 0x07);
}

TEST_F(ProfileFiles, short_and_foreign_files_read_with_the_loaders_layout_and_bad_input_changes_nothing) {
    Bytes rec;
    put(dir / "Short.zav4", Bytes{0x05, 0x1D, 0x14});
    ASSERT_TRUE(read(dir / "Short.zav4", 1, rec));
    Bytes padded{0x05, 0x1D, 0x14};
    padded.resize(60);
    EXPECT_EQ(rec, padded);
    EXPECT_EQ(mode, 0);
    EXPECT_EQ(marker, 0);

    // A MOSS file read by a KITE page: the MOSS mode byte lands in a KITE settings byte.
    put(dir / "Moss.zav4", kMossFile);
    ASSERT_TRUE(read(dir / "Moss.zav4", 1, rec));
    EXPECT_EQ(Bytes(rec.begin() + 52, rec.end()), (Bytes{0x44, 0x02, 0x45, 0x46, 0, 0, 0, 0}));
    EXPECT_EQ(mode, 0); // KITE reads its mode from byte 60
    EXPECT_EQ(marker, 2);
    fs::permissions(dir / "Moss.zav4", fs::perms::owner_read);
    EXPECT_TRUE(read(dir / "Moss.zav4", 3, rec));

    put(dir / "Good.zav4", kKiteFile);
    EXPECT_FALSE(read(dir / "Missing.zav4", 1, rec));
    EXPECT_FALSE(read(dir, 1, rec)); // a folder
    EXPECT_FALSE(read(dir / "Good.zav4", 4, rec));
    EXPECT_EQ(rec, Bytes(60, 0xEE));
    EXPECT_EQ(mode, -1);
    EXPECT_EQ(marker, -1);
    EXPECT_FALSE(readProfileFile(dir / "Good.zav4", 1, std::span(rec).first(55), mode, marker));
    EXPECT_EQ(rec, Bytes(60, 0xEE));

    EXPECT_FALSE(writeProfileFile(dir / "New.zav4", 1, std::span(rec).first(55), 0));
    EXPECT_FALSE(writeProfileFile(dir / "New.zav4", 1, rec, 256));
    EXPECT_FALSE(writeProfileFile(dir / "New.zav4", 1, rec, -1));
    EXPECT_FALSE(writeProfileFile(dir / "nowhere" / "P.zav4", 1, rec, 0));
    EXPECT_FALSE(fs::exists(dir / "nowhere"));

    // A write-protected profile stays as it was (root writes it all the same).
    fs::permissions(dir / "Good.zav4", fs::perms::owner_read);
    if (::geteuid() != 0) {
        EXPECT_FALSE(writeProfileFile(dir / "Good.zav4", 3, countingRecord(3), 3));
        EXPECT_EQ(contents(dir / "Good.zav4"), kKiteFile);
    }
}

// A save killed at any moment leaves the old profile or the new one, never a part of either.
TEST_F(ProfileFiles, a_process_killed_during_saves_never_leaves_a_broken_profile) {
    const fs::path file = dir / "Sniper.zav4";
    const Bytes a(60, 0x11);
    const Bytes b(60, 0x22);
    ASSERT_TRUE(writeProfileFile(file, 1, a, 0));
    const Bytes imageA = contents(file);
    ASSERT_TRUE(writeProfileFile(file, 1, b, 3));
    const Bytes imageB = contents(file);

    std::mt19937 random(12345);
    for (int round = 0; round < 150; ++round) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (int i = 0;; ++i) {
                writeProfileFile(file, 1, i % 2 == 0 ? a : b, i % 2 == 0 ? 0 : 3);
            }
        }
        ::usleep(static_cast<useconds_t>(random() % 3000));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        const Bytes now = contents(file);
        ASSERT_TRUE(now == imageA || now == imageB) << "round " << round << ", " << now.size() << " bytes";
    }
    // A temporary file left by a kill does not stop the next save.
    EXPECT_TRUE(writeProfileFile(file, 1, a, 0));
    EXPECT_EQ(contents(file), imageA);
}

} // namespace
} // namespace zav
