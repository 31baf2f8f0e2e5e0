#include "profiles/ProfileRecord.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace zav {
namespace {

constexpr std::uint8_t kFill = 0xAA; // appears in no default table

// "05 1D -- ..." as bytes; a kept byte ("--") must still hold kFill.
std::vector<int> bytesOf(const std::string& hex) {
    std::vector<int> out;
    std::istringstream in(hex);
    std::string token;
    while (in >> token) {
        out.push_back(token == "--" ? kFill : std::stoi(token, nullptr, 16));
    }
    return out;
}

ProfileImage filledImage() {
    ProfileImage image;
    image.fill(kFill);
    return image;
}

struct DefaultCase {
    const char* name;
    int model;
    int mode;
    const char* hex;
};

class DefaultRecords : public testing::TestWithParam<DefaultCase> {};

TEST_P(DefaultRecords, reset_writes_table_bytes_and_keeps_marked_bytes) {
    const DefaultCase& c = GetParam();
    ProfileImage image = filledImage();
    resetToDefaults(image, c.model, c.mode, 0);
    const std::span<std::uint8_t> rec = recordAt(image, c.model, 0);
    EXPECT_EQ(std::vector<int>(rec.begin(), rec.end()), bytesOf(c.hex));
    for (std::size_t i = rec.size(); i < image.size(); ++i) {
        ASSERT_EQ(image[i], kFill) << "image byte " << i;
    }
}

constexpr const char* kKite0 =
    "05 1D 14 13 07 0C 01 04 0E 16  0D 02 09 0A 09 1B 00 1C 0B 06  08 15 00 22 03 21 1F 20 1E 04 "
    "05 06 07 0C 0B 0E 0E 04 05 06  07 03 0A 08 -- -- -- -- 07 07  04 04 04 04 1E 1E 28 00 00 04";
constexpr const char* kFern0 =
    "1B 03 11 04 02 1A 0B 13 12 14  19 05 08 1C 00 09 00 0A 01 07  06 09 04 05 19 0B 0C 0C 1E 1F "
    "20 21 22 0C 1D 04 05 03 0A 0C  0C 0C 0C 07 07 04 04 04 04 1E  1E 28 00 00 04";
constexpr const char* kMoss0 =
    "01 00 02 03 12 04 05 06 07 08  13 09 15 0C 0B 0A 0D 08 09 15  14 0E 0F 10 11 16 16 17 18 19 "
    "1A 08 09 0A 0B 03 13 07 07 04  04 04 04 1E 1E 28 64 00 04 --  -- -- -- -- --";

INSTANTIATE_TEST_SUITE_P(
    AllModelsAndModes, DefaultRecords,
    testing::Values(
        DefaultCase{"kite_ps4", 1, 0, kKite0}, DefaultCase{"kite_pc", 1, 2, kKite0},
        DefaultCase{
            "kite_ps3", 1, 1,
            "07 1D 14 13 05 0C 01 06 0E 16  0D 02 09 0A 09 1B 00 1C 0B 04  08 15 00 22 03 21 1F 20 1E 04 "
            "05 06 07 0C 0B 0E 0E 04 05 06  07 03 0A 08 -- -- -- -- 07 07  04 04 04 04 1E 1E 28 00 00 04"},
        DefaultCase{
            "kite_keyboard", 1, 3,
            "20 F3 16 1A 1F 1B 2C 08 0A 07  00 15 FA 19 09 21 06 29 2B 1E  F1 04 F0 1D 14 07 16 04 1A FC "
            "FB F9 F8 15 09 00 00 04 05 06  07 03 0A F1 10 10 10 10 07 07  04 04 04 04 1E 1E 28 00 00 04"},
        DefaultCase{"fern_ps4", 3, 0, kFern0}, DefaultCase{"fern_pc", 3, 2, kFern0},
        DefaultCase{
            "fern_ps3", 3, 1,
            "1B 03 11 06 02 1A 0B 13 12 14  19 07 08 1C 00 09 00 0A 01 05  04 09 06 07 19 0B 0C 0C 1E 1F "
            "20 21 22 0C 1D 06 07 03 0A 0C  0C 0C 0C 07 07 04 04 04 04 1E  1E 28 00 00 04"},
        DefaultCase{
            "fern_keyboard", 3, 3,
            "29 14 1A 08 15 17 2B 04 16 07  09 0A F1 1B 06 19 F0 1D 2C F8  F9 FA FC FB 15 09 00 00 F3 1A "
            "16 04 07 00 00 00 00 00 00 10  10 10 10 07 07 04 04 04 04 1E  1E 28 00 00 04"},
        DefaultCase{"moss_ps4", 2, 0, kMoss0}, DefaultCase{"moss_pc", 2, 2, kMoss0},
        DefaultCase{
            "moss_ps3", 2, 1,
            "01 00 02 03 12 04 05 06 07 0A  13 0B 15 0C 09 08 0D 0A 0B 15  14 0E 0F 10 11 16 16 17 18 19 "
            "1A 08 09 0A 0B 03 13 07 07 04  04 04 04 1E 1E 28 64 00 04 --  -- -- -- -- --"},
        DefaultCase{
            "moss_keyboard", 2, 3,
            "2C F0 15 14 FF 1E 20 21 1F 1B  0A 08 19 F1 F8 F9 FA FC FB 15  09 00 2B 29 F3 00 00 1A 16 04 "
            "07 FC FB 00 00 00 00 07 07 04  04 04 04 1E 1E 28 64 00 04 10  10 10 10 28 00"}),
    [](const testing::TestParamInfo<DefaultCase>& info) { return std::string(info.param.name); });

TEST(ResetToDefaults, kite_slot_1_writes_its_record_but_not_bytes_104_to_107) {
    ProfileImage image = filledImage();
    resetToDefaults(image, 1, 0, 1);
    for (std::size_t i = 0; i < image.size(); ++i) {
        const bool written = (i >= 60 && i <= 103) || (i >= 108 && i <= 119);
        EXPECT_EQ(image[i] != kFill, written) << "image byte " << i;
    }
    EXPECT_EQ(image[60], 0x05);
    EXPECT_EQ(image[119], 0x04);
}

TEST(ResetToDefaults, fern_slot_2_writes_all_55_bytes_at_110) {
    for (int mode = 0; mode < 4; ++mode) {
        ProfileImage image = filledImage();
        resetToDefaults(image, 3, mode, 2);
        for (std::size_t i = 0; i < image.size(); ++i) {
            const bool inRecord = i >= 110 && i < 165;
            ASSERT_EQ(image[i] != kFill, inRecord) << "mode " << mode << " byte " << i;
        }
        EXPECT_EQ(image[110], mode == 3 ? 0x29 : 0x1B);
    }
}

TEST(ResetToDefaults, moss_ignores_slot_and_keeps_extra_bytes_outside_keyboard_mode) {
    for (int mode = 0; mode < 3; ++mode) {
        ProfileImage image = filledImage();
        image[54] = 1; // switch on
        resetToDefaults(image, 2, mode, 2);
        EXPECT_EQ(image[0], 0x01);
        EXPECT_EQ(image[48], 0x04);
        EXPECT_EQ(std::vector<int>(image.begin() + 49, image.begin() + 55),
                  (std::vector<int>{0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0x01}));
    }
    ProfileImage image = filledImage();
    image[54] = 1;
    resetToDefaults(image, 2, 3, 0);
    EXPECT_EQ(image[53], 0x28);
    EXPECT_EQ(image[54], 0x00); // the switch turns off
}

TEST(ResetToDefaults, out_of_range_arguments_change_nothing) {
    const ProfileImage before = filledImage();
    const int calls[][3] = {{1, 4, 0}, {1, -1, 0}, {2, 4, 0},  {3, 7, 0}, {0, 0, 0},
                            {4, 0, 0}, {1, 0, 3},  {3, 0, -1}, {-1, 0, 0}};
    for (const auto& c : calls) {
        ProfileImage image = before;
        resetToDefaults(image, c[0], c[1], c[2]);
        EXPECT_EQ(image, before) << "model " << c[0] << " mode " << c[1] << " slot " << c[2];
    }
}

TEST(RecordLayout, slots_sit_back_to_back_and_moss_has_one_record) {
    ProfileImage image{};
    EXPECT_EQ(recordAt(image, 1, 2).data(), image.data() + 120);
    EXPECT_EQ(recordAt(image, 3, 2).data(), image.data() + 110);
    EXPECT_EQ(recordAt(image, 2, 2).data(), image.data());
    EXPECT_EQ(recordAt(image, 2, 2).size(), 55u);
    EXPECT_TRUE(recordAt(image, 1, 3).empty());
    EXPECT_TRUE(recordAt(image, 3, -1).empty());
    EXPECT_TRUE(recordAt(image, 0, 0).empty());
}

TEST(RecordFields, fields_land_after_the_key_block_and_bad_access_is_refused) {
    ProfileImage image{};
    ASSERT_TRUE(setSettingsField(recordAt(image, 1, 1), 1, SettingsField::sensitivity, 8));
    ASSERT_TRUE(setSettingsField(recordAt(image, 2, 0), 2, SettingsField::deadZoneNormal, 49));
    EXPECT_EQ(image[119], 8);
    EXPECT_EQ(image[37], 49);
    EXPECT_EQ(settingsField(recordAt(image, 3, 0), 3, SettingsField::deadZoneNormal), 0); // FERN starts at 43

    const ProfileImage before = image;
    const std::span<std::uint8_t> fern = recordAt(image, 3, 0);
    EXPECT_FALSE(setSettingsField(fern, 1, SettingsField::sensitivity, 9)); // FERN bytes as a KITE record
    EXPECT_FALSE(setSettingsField(fern, 3, static_cast<SettingsField>(12), 9));
    EXPECT_FALSE(setKeyCode(fern, 3, 43, 9)); // first settings byte, not a key
    EXPECT_EQ(image, before);
    EXPECT_TRUE(setKeyCode(fern, 3, 42, 0x2C));
    EXPECT_EQ(keyCode(fern, 3, 42), 0x2C);

    resetToDefaults(image, 2, 0, 0);
    EXPECT_EQ(settingsField(recordAt(image, 2, 0), 2, SettingsField::backLightOff), 100);
}

} // namespace
} // namespace zav
