#include "profiles/ProfileRecord.h"
#include "pages/KeyTables.h"
#include "profiles/AdapterBanks.h"
#include "profiles/AdapterTransfer.h"

#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace zav {
namespace {

constexpr std::uint8_t kFill = 0xAA; // appears in no default table
constexpr int kModels[] = {models::kKite, models::kMoss, models::kFern};

ProfileImage filledImage() {
    ProfileImage image;
    image.fill(kFill);
    return image;
}

std::vector<int> bytesOf(const std::string& hex) {
    std::vector<int> out;
    std::istringstream in(hex);
    for (std::string token; in >> token;) {
        out.push_back(token == "--" ? kFill : std::stoi(token, nullptr, 16));
    }
    return out;
}

// One golden row per model: the PlayStation 4 defaults ("--": kept as it was).
TEST(DefaultRecords, golden_row_of_each_model_and_every_mode_fills_the_slots_record_with_known_functions) {
    const std::pair<int, const char*> rows[] = {
        {models::kKite,
         "05 1D 14 13 07 0C 01 04 0E 16  0D 02 09 0A 09 1B 00 1C 0B 06  08 15 00 22 03 21 1F 20 1E 04 "
         "05 06 07 0C 0B 0E 0E 04 05 06  07 03 0A 08 -- -- -- -- 07 07  04 04 04 04 1E 1E 28 00 00 04"},
        {models::kMoss,
         "01 00 02 03 12 04 05 06 07 08  13 09 15 0C 0B 0A 0D 08 09 15  14 0E 0F 10 11 16 16 17 18 19 "
         "1A 08 09 0A 0B 03 13 07 07 04  04 04 04 1E 1E 28 64 00 04 --  -- -- -- -- --"},
        {models::kFern,
         "1B 03 11 04 02 1A 0B 13 12 14  19 05 08 1C 00 09 00 0A 01 07  06 09 04 05 19 0B 0C 0C 1E 1F "
         "20 21 22 0C 1D 04 05 03 0A 0C  0C 0C 0C 07 07 04 04 04 04 1E  1E 28 00 00 04"}};
    for (const auto& [model, hex] : rows) {
        ProfileImage image = filledImage();
        resetToDefaults(image, model, kModePs4, 0);
        const auto rec = recordAt(image, model, 0);
        EXPECT_EQ(std::vector<int>(rec.begin(), rec.end()), bytesOf(hex)) << "model " << model;
    }

    // In every mode a reset writes the whole record of the slot but the bytes it keeps, and nothing else;
    // every key the page shows gets a function of that mode; the PC pad shares the PlayStation 4 defaults.
    for (int model : kModels) {
        for (int mode = 0; mode < kAssignModeCount; ++mode) {
            SCOPED_TRACE(testing::Message() << "model " << model << " mode " << mode);
            const int slot = model == models::kMoss ? 0 : 2;
            ProfileImage image = filledImage();
            resetToDefaults(image, model, mode, slot);
            const auto rec = recordAt(image, model, slot);
            const auto first = static_cast<std::size_t>(rec.data() - image.data());
            std::set<std::size_t> kept;
            for (std::size_t i = 0; i < image.size(); ++i) {
                const bool inRecord = i >= first && i < first + rec.size();
                if (image[i] == kFill && inRecord) {
                    kept.insert(i - first);
                }
                if (!inRecord) {
                    ASSERT_EQ(image[i], kFill) << "image byte " << i;
                }
            }
            using Set = std::set<std::size_t>;
            EXPECT_EQ(kept, (mode == kModeKeyboard    ? Set{}
                             : model == models::kKite ? Set{44, 45, 46, 47}
                             : model == models::kMoss ? Set{49, 50, 51, 52, 53, 54}
                                                      : Set{}));
            for (int s = 1; s <= (model == models::kMoss ? 23 : slotCount(model)); ++s) {
                const auto index = static_cast<std::size_t>(slotToIndex(model, s));
                if (kept.count(index) == 0) {
                    EXPECT_NE(codeToLabel(model, mode, rec[index]), "") << "slot " << s;
                }
            }
            ProfileImage pad = filledImage();
            resetToDefaults(pad, model, kModePcPad, slot);
            if (mode == kModePs4) {
                EXPECT_EQ(pad, image);
            }
        }
    }
}

// A fresh adapter holds the defaults in every profile slot of its model, not in the first only.
TEST(DefaultRecords, a_fresh_adapter_holds_the_defaults_in_every_slot_and_bad_arguments_change_nothing) {
    const SimulatedAdapter::Banks banks = freshAdapterBanks();
    for (int model : kModels) {
        ProfileImage expected{};
        for (int slot = 0; slot < profileSlotCount(model); ++slot) {
            resetToDefaults(expected, model, kModePs4, slot);
        }
        EXPECT_EQ(banks[static_cast<std::size_t>(model - 1)][kModePs4], expected) << "model " << model;
    }

    const ProfileImage before = filledImage();
    const int calls[][3] = {{1, 4, 0}, {1, -1, 0}, {2, 4, 0}, {0, 0, 0}, {4, 0, 0}, {1, 0, 3}, {3, 0, -1}};
    for (const auto& c : calls) {
        ProfileImage image = before;
        resetToDefaults(image, c[0], c[1], c[2]);
        EXPECT_EQ(image, before) << "model " << c[0] << " mode " << c[1] << " slot " << c[2];
    }
}

TEST(RecordFields, fields_land_after_the_key_block_and_bad_access_is_refused) {
    ProfileImage image{};
    EXPECT_EQ(recordAt(image, 1, 2).data(), image.data() + 120);
    EXPECT_EQ(recordAt(image, 3, 2).data(), image.data() + 110);
    EXPECT_EQ(recordAt(image, 2, 2).data(), image.data());
    EXPECT_TRUE(recordAt(image, 1, 3).empty());
    ASSERT_TRUE(setSettingsField(recordAt(image, 1, 1), 1, SettingsField::sensitivity, 8));
    ASSERT_TRUE(setSettingsField(recordAt(image, 2, 0), 2, SettingsField::deadZoneNormal, 49));
    EXPECT_EQ(image[119], 8);
    EXPECT_EQ(image[37], 49);

    const ProfileImage before = image;
    const std::span<std::uint8_t> fern = recordAt(image, 3, 0);
    EXPECT_FALSE(setSettingsField(fern, 1, SettingsField::sensitivity, 9)); // FERN bytes as a KITE record
    EXPECT_FALSE(setSettingsField(fern, 3, static_cast<SettingsField>(12), 9));
    EXPECT_FALSE(setKeyCode(fern, 3, keyBlockSize(3), 9)); // first settings byte, not a key
    EXPECT_FALSE(setKeyCode(fern, 3, -1, 9));
    EXPECT_EQ(image, before);
    EXPECT_TRUE(setKeyCode(fern, 3, keyBlockSize(3) - 1, 0x2C));
    EXPECT_EQ(keyCode(fern, 3, keyBlockSize(3) - 1), 0x2C);
}

} // namespace
} // namespace zav
