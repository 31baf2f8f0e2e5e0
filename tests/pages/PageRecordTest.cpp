#include "pages/PageRecord.h"
#include "profiles/ProfileRecord.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <set>
#include <tuple>
#include <vector>

namespace zav {
namespace {

using Kite = std::array<std::uint8_t, 60>;
using Moss = std::array<std::uint8_t, 55>;
using Fern = Moss;

// Collecting with no buttons at all marks every byte the page writes with 255.
template <typename Record>
std::set<int> bytesWritten(int model, int mode) {
    Record record;
    record.fill(0xAA);
    EXPECT_TRUE(collectPage(model, mode, SlotLabels{}, record, false));
    std::set<int> written;
    for (std::size_t i = 0; i < record.size(); ++i) {
        if (record[i] != 0xAA) {
            written.insert(static_cast<int>(i));
        }
    }
    return written;
}

std::set<int> range(int first, int last, std::set<int> more = {}) {
    for (int i = first; i <= last; ++i) {
        more.insert(i);
    }
    return more;
}

TEST(ShowAndCollect, default_records_of_every_model_and_mode_collect_back_unchanged) {
    for (int model : {models::kKite, models::kMoss, models::kFern}) {
        for (int mode = 0; mode < kAssignModeCount; ++mode) {
            for (StickSelector selector : {StickSelector::DPad, StickSelector::LStick}) {
                ProfileImage image{};
                resetToDefaults(image, model, mode, 0);
                const auto record = recordAt(image, model, 0);
                const std::vector<std::uint8_t> before(record.begin(), record.end());
                const SlotLabels labels = showRecord(model, mode, record, selector);
                ASSERT_TRUE(collectPage(model, mode, labels, record, mossSwitchOn(record)));
                EXPECT_EQ(std::vector<std::uint8_t>(record.begin(), record.end()), before)
                    << "model " << model << " mode " << mode;
            }
        }
    }
}

TEST(ShowAndCollect, slot_22_shows_the_code_the_selector_chooses_and_collect_leaves_it) {
    Kite record{};
    record[8] = 0x0F;  // D-pad up
    record[43] = 0x13; // stick up
    const SlotLabels dpad = showRecord(models::kKite, kModePs4, record, StickSelector::DPad);
    const SlotLabels stick = showRecord(models::kKite, kModePs4, record, StickSelector::LStick);
    EXPECT_EQ(dpad[22], "\xC3\xA1");
    EXPECT_EQ(stick[22], "\xC3\xA9");
    for (int slot = 1; slot <= 35; ++slot) {
        if (slot != 22) {
            EXPECT_EQ(dpad[static_cast<std::size_t>(slot)], stick[static_cast<std::size_t>(slot)]) << slot;
        }
    }
    SlotLabels labels = dpad;
    labels[22] = "L1";
    ASSERT_TRUE(collectPage(models::kKite, kModePs4, labels, record, false));
    EXPECT_EQ(record[8], 0x0F);
    EXPECT_EQ(record[43], 0x13);
}

TEST(ShowAndCollect, first_model_ps3_exchanges_indices_29_30_with_31_32) {
    Kite record{};
    record[29] = 0x0F;
    record[30] = 0x10;
    record[31] = 0x11;
    record[32] = 0x12;
    const SlotLabels ps3 = showRecord(models::kKite, kModePs3, record, StickSelector::DPad);
    EXPECT_EQ(ps3[26], "\xC3\x9F"); // slot of index 29 shows code 0x11 (D-pad left)
    EXPECT_EQ(ps3[27], "\xC3\xA0"); // slot of index 30 shows code 0x12
    EXPECT_EQ(ps3[24], "\xC3\xA1"); // slot of index 31 shows code 0x0F
    EXPECT_EQ(ps3[23], "\xC3\xA2"); // slot of index 32 shows code 0x10
    EXPECT_EQ(showRecord(models::kKite, kModePs4, record, StickSelector::DPad)[26], "\xC3\xA1");

    SlotLabels labels = ps3;
    labels[26] = "L1";
    labels[27] = "R1";
    labels[24] = "L2";
    labels[23] = "R2";
    ASSERT_TRUE(collectPage(models::kKite, kModePs3, labels, record, false));
    EXPECT_EQ(record[29], 0x06);
    EXPECT_EQ(record[30], 0x07);
    EXPECT_EQ(record[31], 0x04);
    EXPECT_EQ(record[32], 0x05);
}

TEST(ShowAndCollect, missing_buttons_store_255_and_only_the_pages_bytes_are_written) {
    std::set<int> kiteUsed = range(0, 47);
    for (int unused : {1, 8, 10, 25, 26, 27, 28, 37, 38, 39, 40, 41, 42, 43}) {
        kiteUsed.erase(unused);
    }
    EXPECT_EQ(bytesWritten<Kite>(models::kKite, kModePs4), kiteUsed);
    EXPECT_EQ(bytesWritten<Kite>(models::kKite, kModePs3), kiteUsed);
    EXPECT_EQ(bytesWritten<Moss>(models::kMoss, kModePs4), range(0, 20, {25, 26, 53, 54}));
    EXPECT_EQ(bytesWritten<Moss>(models::kMoss, kModeKeyboard),
              range(0, 20, {25, 26, 49, 50, 51, 52, 53, 54}));
    EXPECT_EQ(bytesWritten<Fern>(models::kFern, kModePcPad), range(0, 27, {39, 40, 41, 42}));

    Kite record{};
    collectPage(models::kKite, kModePs4, SlotLabels{}, record, false);
    EXPECT_EQ(record[17], 0xFF);
}

TEST(ShowAndCollect, unlabelled_code_shows_empty_and_collects_as_zero) {
    Kite record{};
    record[17] = 31; // no label on the first model
    const SlotLabels labels = showRecord(models::kKite, kModePs4, record, StickSelector::DPad);
    EXPECT_EQ(labels[1], "");
    EXPECT_EQ(labels[0], std::nullopt);
    ASSERT_TRUE(collectPage(models::kKite, kModePs4, labels, record, false));
    EXPECT_EQ(record[17], 0x00);
}

TEST(SecondModel, extra_slots_show_bytes_49_to_53_in_the_pages_mode) {
    Moss record{};
    record[4] = 0xFF;
    record[49] = 0x10;
    record[52] = 0x04;
    record[53] = 0x28;
    const SlotLabels keyboard = showRecord(models::kMoss, kModeKeyboard, record, StickSelector::DPad);
    EXPECT_EQ(keyboard[5], "Fn");
    EXPECT_EQ(keyboard[24], "M");
    EXPECT_EQ(keyboard[27], "A");
    EXPECT_EQ(keyboard[28], "Enter");
    EXPECT_EQ(keyboard[29], std::nullopt);
    const SlotLabels ps4 = showRecord(models::kMoss, kModePs4, record, StickSelector::DPad);
    EXPECT_EQ(ps4[27], "\xC3\xA1"); // code 4 is D-pad up on this model
    EXPECT_EQ(ps4[28], "");
}

TEST(SecondModel, console_modes_keep_bytes_49_to_52_but_write_53_and_the_switch) {
    Moss record{};
    record[49] = 0x10;
    record[52] = 0x10;
    SlotLabels labels = showRecord(models::kMoss, kModePs4, record, StickSelector::DPad);
    for (int slot = 24; slot <= 28; ++slot) {
        labels[static_cast<std::size_t>(slot)] = "L1";
    }
    ASSERT_TRUE(collectPage(models::kMoss, kModePs4, labels, record, true));
    EXPECT_EQ(record[49], 0x10);
    EXPECT_EQ(record[52], 0x10);
    EXPECT_EQ(record[53], 0x08);
    EXPECT_EQ(record[54], 0x01);
    EXPECT_TRUE(mossSwitchOn(record));

    labels[24] = "A";
    labels[27] = "Fn";
    ASSERT_TRUE(collectPage(models::kMoss, kModeKeyboard, labels, record, false));
    EXPECT_EQ(record[49], 0x04);
    EXPECT_EQ(record[50], 0x00); // "L1" is no keyboard label
    EXPECT_EQ(record[52], 0xFF);
    EXPECT_EQ(record[54], 0x00);
    EXPECT_FALSE(mossSwitchOn(record));
}

TEST(StoreSlot, stores_into_the_byte_the_slot_shows) {
    Kite kite{};
    EXPECT_TRUE(storeSlotLabel(models::kKite, kModePs4, 1, "L1", kite, StickSelector::DPad));
    EXPECT_EQ(kite[17], 0x04);
    EXPECT_TRUE(storeSlotLabel(models::kKite, kModePs4, 22, "R1", kite, StickSelector::LStick));
    EXPECT_TRUE(storeSlotLabel(models::kKite, kModePs4, 22, "L2", kite, StickSelector::DPad));
    EXPECT_EQ(kite[43], 0x05);
    EXPECT_EQ(kite[8], 0x06);
    EXPECT_TRUE(storeSlotLabel(models::kKite, kModePs3, 26, "R2", kite, StickSelector::DPad));
    EXPECT_EQ(kite[31], 0x07);
    EXPECT_EQ(kite[29], 0x00);

    Moss moss{};
    EXPECT_TRUE(storeSlotLabel(models::kMoss, kModePs4, 18, "Fn", moss, StickSelector::DPad));
    EXPECT_EQ(moss[25], 18);
    EXPECT_FALSE(storeSlotLabel(models::kMoss, kModePs4, 24, "L1", moss, StickSelector::DPad));
    EXPECT_TRUE(storeSlotLabel(models::kMoss, kModeKeyboard, 24, "B", moss, StickSelector::DPad));
    EXPECT_EQ(moss[49], 0x05);
    EXPECT_EQ(moss[0], 0x00);

    Fern fern{};
    EXPECT_TRUE(storeSlotLabel(models::kFern, kModePs4, 30, "NC", fern, StickSelector::DPad));
    EXPECT_EQ(fern[40], 12);
    EXPECT_FALSE(storeSlotLabel(models::kFern, kModePs4, 33, "NC", fern, StickSelector::DPad));
    EXPECT_FALSE(storeSlotLabel(models::kFern, kModePs4, 0, "NC", fern, StickSelector::DPad));
    EXPECT_EQ(fern[0], 0x00);
}

TEST(StoreSlot, records_of_the_wrong_size_or_model_are_left_alone) {
    std::array<std::uint8_t, 55> notKite{};
    notKite.fill(0xAA);
    EXPECT_FALSE(collectPage(models::kKite, kModePs4, SlotLabels{}, notKite, false));
    EXPECT_FALSE(storeSlotLabel(models::kKite, kModePs4, 1, "L1", notKite, StickSelector::DPad));
    for (std::uint8_t b : notKite) {
        ASSERT_EQ(b, 0xAA);
    }
    EXPECT_EQ(showRecord(models::kKite, kModePs4, notKite, StickSelector::DPad)[1], std::nullopt);
    EXPECT_FALSE(collectPage(4, kModePs4, SlotLabels{}, notKite, false));
    EXPECT_FALSE(mossSwitchOn(std::span<const std::uint8_t>(notKite.data(), 54)));
}

TEST(SendImage, second_model_ps3_bank_goes_out_with_two_pairs_exchanged) {
    ProfileImage work{};
    for (std::size_t i = 0; i < work.size(); ++i) {
        work[i] = static_cast<std::uint8_t>(i);
    }
    ProfileImage send{};
    copyToSendImage(models::kMoss, kModePs3, true, work, send);
    EXPECT_EQ(send[14], 18);
    EXPECT_EQ(send[18], 14);
    EXPECT_EQ(send[15], 17);
    EXPECT_EQ(send[17], 15);
    EXPECT_EQ(send[16], 16);
    EXPECT_EQ(work[14], 14);

    for (auto [model, mode, connected] :
         {std::tuple{models::kMoss, kModePs4, true}, std::tuple{models::kMoss, kModePs3, false},
          std::tuple{models::kKite, kModePs3, true}}) {
        send.fill(0);
        copyToSendImage(model, mode, connected, work, send);
        EXPECT_EQ(send, work) << model << "/" << mode;
    }
}

} // namespace
} // namespace zav
