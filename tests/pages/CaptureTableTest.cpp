#include "pages/CaptureTable.h"
#include "pages/KeyTables.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>

namespace zav {
namespace {

KeyDownQuery downKeys(std::set<int> keys) {
    return [keys](int virtualKey) { return keys.count(virtualKey) == 1; };
}

const KeyDownQuery kNothingDown = downKeys({});

TEST(KeyCapture, modifiers_take_the_side_that_is_down) {
    EXPECT_EQ(labelForVirtualKey(16, downKeys({160})), "LSft");
    EXPECT_EQ(labelForVirtualKey(16, downKeys({161})), "RSft");
    EXPECT_EQ(labelForVirtualKey(16, downKeys({160, 161})), "LSft");
    EXPECT_EQ(labelForVirtualKey(17, downKeys({162})), "LCtrl");
    EXPECT_EQ(labelForVirtualKey(17, downKeys({163})), "RCtrl");
    EXPECT_EQ(labelForVirtualKey(18, downKeys({164})), "LAlt");
    EXPECT_EQ(labelForVirtualKey(18, downKeys({165})), "RAlt");
    // A right Ctrl held while Shift is pressed is not a shift side.
    EXPECT_EQ(labelForVirtualKey(16, downKeys({163})), std::nullopt);
}

TEST(KeyCapture, modifier_with_neither_side_down_changes_nothing) {
    EXPECT_EQ(labelForVirtualKey(16, kNothingDown), std::nullopt);
    EXPECT_EQ(labelForVirtualKey(17, kNothingDown), std::nullopt);
    EXPECT_EQ(labelForVirtualKey(18, kNothingDown), std::nullopt);
    EXPECT_EQ(labelForVirtualKey(16, KeyDownQuery{}), std::nullopt);
    // The side-specific codes themselves are not in the table.
    EXPECT_EQ(labelForVirtualKey(160, downKeys({160})), std::nullopt);
    EXPECT_EQ(labelForVirtualKey(165, downKeys({165})), std::nullopt);
}

// Every key that captures a label, with no modifier down; any key not listed changes nothing.
TEST(KeyCapture, key_table_reads_in_key_order) {
    std::string joined;
    for (int key = 0; key < 256; ++key) {
        if (const auto label = labelForVirtualKey(key, kNothingDown)) {
            joined += std::to_string(key) + "=" + *label + " ";
        }
    }
    EXPECT_EQ(joined,
              "8=BS 9=Tab 13=Enter 19=Pause 20=Caps 27=Esc 32=Space 33=PgUp 34=PgDo 35=End 36=Home 37=← "
              "38=↑ 39=→ 40=↓ 44=Print 45=Ins 46=Del 48=0 49=1 50=2 51=3 52=4 53=5 54=6 55=7 56=8 57=9 "
              "65=A 66=B 67=C 68=D 69=E 70=F 71=G 72=H 73=I 74=J 75=K 76=L 77=M 78=N 79=O 80=P 81=Q 82=R "
              "83=S 84=T 85=U 86=V 87=W 88=X 89=Y 90=Z 91=LWin 92=RWin 93=App 96=Num0 97=Num1 98=Num2 "
              "99=Num3 100=Num4 101=Num5 102=Num6 103=Num7 104=Num8 105=Num9 106=Num* 107=Num+ 108=NumEt "
              "109=Num- 110=Num. 111=Num/ 112=F1 113=F2 114=F3 115=F4 116=F5 117=F6 118=F7 119=F8 120=F9 "
              "121=F10 122=F11 123=F12 144=NumLk 145=ScrLk 174=Sd- 175=Sd+ 186=; 187== 188=, 189=- 190=. "
              "191=? 192=~ 219=[ 220=\\ 221=] 222='' ");
}

TEST(KeyCapture, every_captured_label_has_a_keyboard_code_on_every_model) {
    const KeyDownQuery allDown = [](int) { return true; };
    int captured = 0;
    for (int key = 0; key < 256; ++key) {
        const auto label = labelForVirtualKey(key, allDown);
        if (!label) {
            continue;
        }
        ++captured;
        for (int model : {models::kKite, models::kMoss, models::kFern}) {
            EXPECT_NE(labelToCode(model, kModeKeyboard, *label), 0) << key << " " << *label;
        }
    }
    EXPECT_EQ(captured, 103);
    EXPECT_EQ(labelToCode(models::kKite, kModeKeyboard, *labelForVirtualKey(16, downKeys({161}))), 245);
}

TEST(MouseCapture, buttons_and_wheel) {
    EXPECT_EQ(labelForMouseInput(MouseInput::LeftButton), "MsL");
    EXPECT_EQ(labelForMouseInput(MouseInput::MiddleButton), "MsM");
    EXPECT_EQ(labelForMouseInput(MouseInput::RightButton), "MsR");
    EXPECT_EQ(labelForMouseInput(MouseInput::Wheel, 120), "ScrUp");
    EXPECT_EQ(labelForMouseInput(MouseInput::Wheel, 1), "ScrUp");
    EXPECT_EQ(labelForMouseInput(MouseInput::Wheel, 0), "ScrDo");
    EXPECT_EQ(labelForMouseInput(MouseInput::Wheel, -120), "ScrDo");
}

TEST(MouseCapture, side_buttons_need_exactly_their_flag) {
    EXPECT_EQ(labelForMouseInput(MouseInput::SideButton, 0x20), "Back");
    EXPECT_EQ(labelForMouseInput(MouseInput::SideButton, 0x40), "Forwd");
    EXPECT_EQ(labelForMouseInput(MouseInput::SideButton, 0x24), std::nullopt); // with Shift
    EXPECT_EQ(labelForMouseInput(MouseInput::SideButton, 0x60), std::nullopt);
    EXPECT_EQ(labelForMouseInput(MouseInput::SideButton, 0x21), std::nullopt);
    EXPECT_EQ(labelForMouseInput(MouseInput::SideButton, 0), std::nullopt);
}

TEST(MouseCapture, mouse_labels_have_their_keyboard_codes) {
    const std::pair<MouseInput, int> inputs[] = {
        {MouseInput::LeftButton, 0},   {MouseInput::RightButton, 0}, {MouseInput::MiddleButton, 0},
        {MouseInput::Wheel, 120},      {MouseInput::Wheel, -120},    {MouseInput::SideButton, 0x20},
        {MouseInput::SideButton, 0x40}};
    std::string codes;
    for (const auto& [input, value] : inputs) {
        codes +=
            std::to_string(labelToCode(models::kFern, kModeKeyboard, *labelForMouseInput(input, value))) +
            " ";
    }
    EXPECT_EQ(codes, "248 249 250 238 239 251 252 ");
}

} // namespace
} // namespace zav
