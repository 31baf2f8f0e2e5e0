#include "profiles/ModelDescription.h"
#include "pages/KeyTables.h"
#include "pages/PageLayout.h"
#include "pages/PageRecord.h"

#include <gtest/gtest.h>

#include <set>

namespace zav {
namespace {

// The page, the key tables and the texts agree with what each description says of its model.
TEST(ModelDescription, page_tables_and_texts_agree_with_each_model) {
    for (const ModelDescription& m : modelDescriptions()) {
        SCOPED_TRACE(m.name);
        // Every slot of the model stands on its page, and no other.
        EXPECT_EQ(pageLayout(m.model).slotPlaces.size(), static_cast<std::size_t>(m.keySlots));
        for (int slot = 1; slot <= m.keySlots; ++slot) {
            EXPECT_NE(slotPlace(m.model, slot), nullptr) << slot;
        }
        // Each key slot edits a key code of its own (the dual slot one more); the extra slots the bytes
        // behind the settings block.
        std::set<int> bytes;
        for (int slot = 1; slot <= m.keySlots; ++slot) {
            const int byte = slotRecordByte(m.model, kModePs4, slot, StickSelector::DPad);
            EXPECT_TRUE(bytes.insert(byte).second) << "slot " << slot;
            EXPECT_EQ(byte < m.keyBlockSize, !m.extra.has(slot)) << "slot " << slot;
            EXPECT_LT(byte, m.recordSize);
        }
        // "Fn" goes by drag only where the defaults put it.
        const int fnByte = slotRecordByte(m.model, kModePs4, m.fnSlot, StickSelector::DPad);
        EXPECT_EQ(
            codeToLabel(m.model, kModePs4,
                        static_cast<std::uint8_t>(m.defaults[kModePs4][static_cast<std::size_t>(fnByte)])),
            kLabelFn);
        // The mode list shows, item by item, the mode the page takes from it.
        EXPECT_EQ(profileSlotTexts(m.model).size(), static_cast<std::size_t>(m.profileSlots));
        for (int capability : {0, 4, 5, 255}) {
            EXPECT_EQ(modeListTexts(m.model, capability, 0).size(),
                      static_cast<std::size_t>(m.texts->modeItems));
            for (int item = 0; item < m.texts->modeItems; ++item) {
                const int mode = modeForItem(m, item, capability);
                EXPECT_EQ(modeListTexts(m.model, capability, 0)[static_cast<std::size_t>(item)],
                          kAssignModeTexts[static_cast<std::size_t>(mode)]);
                EXPECT_EQ(itemForMode(m, mode), item);
            }
        }
    }
}

} // namespace
} // namespace zav
