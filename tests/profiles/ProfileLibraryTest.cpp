#include "profiles/ProfileLibrary.h"
#include "profiles/ProfileFile.h"
#include "profiles/ProfileName.h"
#include "profiles/ProfileRecord.h"
#include "tests/ScratchFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <fstream>
#include <functional>
#include <iterator>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include <sys/resource.h>

namespace zav {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;
using Names = std::vector<std::string>;
using Told = std::vector<TextId>;
constexpr auto kSave = &ProfileLibrary::saveProfile, kDelete = &ProfileLibrary::deleteProfile,
               kCopy = &ProfileLibrary::copyProfile, kNew = &ProfileLibrary::newProfile;

// Runs `operation` while no file can grow, as on a full disk; this binds root too.
void withNoRoom(const std::function<void()>& operation) {
    rlimit saved{};
    ::getrlimit(RLIMIT_FSIZE, &saved);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    const rlimit none{0, saved.rlim_max};
    ::setrlimit(RLIMIT_FSIZE, &none);
    operation();
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
}

// Its slot buttons hold one assignment that only collect() stores into the record.
class FakePage : public LibraryPage {
public:
    int model() const override { return model_; }
    int mode() const override { return mode_; }
    int slot() const override { return slot_; }
    std::span<std::uint8_t> record(int slot) override { return recordAt(work, model_, slot); }
    void collect() override { record(slot_)[0] = shownKey; }
    void resetAndShow(int slot) override {
        resets.push_back(slot);
        resetToDefaults(work, model_, mode_, slot);
    }
    void takeLoadedRecord(int mode, std::span<const std::uint8_t> loaded) override {
        appliedModes.push_back(mode);
        mode_ = mode;
        std::copy(loaded.begin(), loaded.end(), record(slot_).begin());
    }
    bool connected() const override { return connected_; }
    void showBlankSlotItem() override { ++blankShown; }
    void sendStatus() override { ++statusSent; }

    int model_ = models::kKite, mode_ = 0, slot_ = 0, blankShown = 0, statusSent = 0;
    bool connected_ = false;
    ProfileImage work{};
    std::uint8_t shownKey = 0x2C;
    std::vector<int> resets, appliedModes;
};

class RecordingPrompter : public Prompter {
public:
    void tell(TextId text) override { told.push_back(text); }
    bool ask(TextId text) override {
        asked.push_back(text);
        return answer;
    }
    Told told, asked;
    bool answer = true;
};

class Library : public testing::Test {
protected:
    fs::path folder(int mode) const {
        static const char* kModes[] = {"ProfilePS4", "ProfilePS3", "ProfilePC", "ProfileKBD"};
        return docs / "ZAV Software" / "ZAV KITE" / kModes[mode];
    }
    void put(const std::string& name, int mode, int fileMode, std::uint8_t firstKey = 0x11) {
        fs::create_directories(folder(mode));
        Bytes rec(60, 0x04);
        rec[0] = firstKey;
        ASSERT_TRUE(writeProfileFile(folder(mode) / (name + ".zav4"), models::kKite, rec, fileMode));
    }
    Bytes contents(const std::string& name) const {
        std::ifstream in(folder(page.mode_) / (name + ".zav4"), std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    bool has(const std::string& name) const { return fs::exists(folder(page.mode_) / (name + ".zav4")); }
    void act(const std::string& typed, void (ProfileLibrary::*operation)()) {
        list.setText(typed);
        (lib.*operation)();
    }
    void choose(const std::string& name) {
        list.select(list.indexOf(name));
        lib.loadSelected();
    }
    void expectNotLoaded(const std::string& name) {
        page.work.fill(0xAA);
        const ProfileImage before = page.work;
        prompter.told.clear();
        page.appliedModes.clear();
        choose(name);
        EXPECT_EQ(prompter.told, Told{TextId::ProfileCannotBeLoaded}) << name;
        EXPECT_EQ(page.work, before) << name;
        EXPECT_TRUE(page.appliedModes.empty()) << name;
    }

    test::ScratchFolder scratch;
    const fs::path docs = scratch.path();
    FakePage page;
    ProfileListModel list;
    RecordingPrompter prompter;
    ProfileLibrary lib{docs, page, list, prompter};
};

TEST_F(Library, a_fresh_account_gets_its_folders_and_a_first_profile_from_the_page_record) {
    page.mode_ = 1;
    page.work[0] = 0x5A;
    ASSERT_TRUE(fs::remove(docs)); // a fresh account has no documents folder yet
    lib.buildListForStart();
    EXPECT_EQ(list.items(), Names{"Profile"});
    EXPECT_EQ(list.selected(), 0);
    EXPECT_EQ(lib.currentProfileName(), ""); // shown, not loaded
    const Bytes file = contents("Profile");
    ASSERT_EQ(file.size(), 128u);
    EXPECT_EQ((Bytes{file[0], file[60], file[127]}), (Bytes{0x5A, 1, 1})); // record, mode, model
    EXPECT_TRUE(prompter.told.empty());
    fs::remove_all(docs / "ZAV Software");

    // No documents folder known at all: nothing is made anywhere, nothing is listed.
    const fs::path before = fs::current_path();
    fs::current_path(docs);
    ProfileLibrary nowhere(fs::path(), page, list, prompter);
    nowhere.buildList();
    fs::current_path(before);
    EXPECT_TRUE(list.items().empty());
    EXPECT_FALSE(fs::exists(docs / "ZAV Software"));

    // Something not a folder in the mode folder's place: nothing listed, New, Copy and Save fail.
    fs::create_directories(folder(1).parent_path());
    std::ofstream(folder(1)).put('x');
    lib.buildList();
    EXPECT_TRUE(list.items().empty());
    lib.newProfile();
    act("Typed", kCopy);
    lib.saveProfile();
    EXPECT_EQ(prompter.told, Told(3, TextId::SaveFailed));
}

TEST_F(Library, new_profiles_follow_the_officials_are_numbered_after_existing_names_and_reset_slot_zero) {
    page.slot_ = 2;
    for (const std::string& name : ProfileLibrary::officialNames(models::kKite)) {
        put(name, 0, 0);
    }
    for (const char* name : {"Profile", "Fast", "Fast(1)"}) {
        put(name, 0, 0);
    }
    lib.buildListForStart();
    lib.newProfile();
    EXPECT_EQ(list.items()[ProfileLibrary::kOfficialCount], "Profile0001");
    EXPECT_EQ(lib.currentProfileName(), "Profile0001");
    EXPECT_EQ(page.resets, std::vector<int>{0}); // the page keeps showing its own slot
    EXPECT_EQ(page.slot_, 2);
    EXPECT_EQ(lib.loadedFileModel(), models::kKite); // made here from the page's own record

    prompter.answer = false;
    act("", kSave);
    EXPECT_FALSE(has("Profile0002"));
    prompter.answer = true;
    lib.saveProfile();
    EXPECT_EQ(prompter.asked, Told(2, TextId::SaveAsNewQuestion));
    EXPECT_EQ(contents("Profile0002")[0], page.shownKey);

    act("Fast", kCopy);
    EXPECT_EQ(contents("Fast(2)")[0], page.shownKey);
    EXPECT_EQ(lib.currentProfileName(), "Fast(2)");
    // Twenty characters bind typing only: a copy's generated name is never refused for its length.
    prompter.told.clear();
    act("Profile0001(1)(1)(1)", kCopy);
    EXPECT_GT(lib.currentProfileName().size(), 20u);
    EXPECT_TRUE(has(lib.currentProfileName()));
    EXPECT_EQ(prompter.told, Told{});
    act("", kCopy);
    EXPECT_EQ(prompter.told, Told{TextId::PleaseChooseFile});
    lib.resetProfile();
    EXPECT_EQ(page.resets, (std::vector<int>{0, 2}));
    EXPECT_EQ(page.statusSent, 1);
}

TEST_F(Library, save_renames_or_overwrites_the_current_profile) {
    lib.buildListForStart(); // first run
    choose("Profile");
    act("Sniper", kSave);
    EXPECT_FALSE(has("Profile"));
    EXPECT_EQ(contents("Sniper")[0], page.shownKey);
    EXPECT_EQ(prompter.told, Told{TextId::SaveSucceeded});
    EXPECT_EQ(list.items(), Names{"Sniper"});
    EXPECT_EQ(lib.currentProfileName(), "Sniper");

    page.shownKey = 0x33;
    lib.saveProfile();
    EXPECT_EQ(contents("Sniper")[0], 0x33);
    EXPECT_EQ(prompter.told.back(), TextId::SaveSucceeded);
    put("Fast", 0, 0, 0x01);
    const Bytes fast = contents("Fast");
    act("Fast", kSave);
    EXPECT_EQ(prompter.told.back(), TextId::FileAlreadyExists);
    EXPECT_EQ(contents("Fast"), fast);
    EXPECT_EQ(lib.currentProfileName(), "Sniper");

    // A rename whose old file stays (here a folder put in its place) says so, and both stay listed.
    fs::remove(folder(0) / "Sniper.zav4");
    fs::create_directories(folder(0) / "Sniper.zav4" / "inside");
    act("New", kSave);
    EXPECT_EQ(prompter.told.back(), TextId::OldProfileNotDeleted);
    EXPECT_TRUE(has("New"));
    EXPECT_NE(list.indexOf("Sniper"), -1);
    EXPECT_EQ(lib.currentProfileName(), "New");
}

TEST_F(Library, operations_that_cannot_write_leave_page_list_and_files_alone) {
    const std::pair<const char*, void (ProfileLibrary::*)()> operations[] = {
        {"Fast", kNew}, {"Fast", kCopy}, {"", kSave}, {"Fast", kSave}, {"Renamed", kSave}};
    put("Fast", 0, 0);
    lib.buildListForStart();
    choose("Fast");
    const Bytes file = contents("Fast");
    page.shownKey = file[0];
    page.work.fill(0x5C);
    page.work[0] = file[0];
    const ProfileImage edited = page.work;
    for (const auto& [typed, operation] : operations) {
        SCOPED_TRACE(typed);
        prompter.told.clear();
        list.setText(typed);
        withNoRoom([&] { (lib.*operation)(); });
        EXPECT_EQ(prompter.told, Told{TextId::SaveFailed});
        EXPECT_TRUE(page.resets.empty());
        EXPECT_EQ(page.work, edited);
        EXPECT_EQ(list.items(), Names{"Fast"});
        EXPECT_EQ(lib.currentProfileName(), "Fast");
        EXPECT_EQ(contents("Fast"), file);
        EXPECT_EQ(std::distance(fs::directory_iterator(folder(0)), {}), 1);
    }
}

TEST_F(Library, official_profiles_are_protected_in_every_mode) {
    for (int mode = 0; mode < 4; ++mode) {
        page.mode_ = mode;
        put("ZAV_A1_OW1", mode, mode, 0x01);
        const Bytes official = contents("ZAV_A1_OW1");
        lib.buildList();
        choose("ZAV_A1_OW1");
        act("Other", kSave);
        act("ZAV_A1_OW1", kDelete);
        EXPECT_EQ(prompter.told, (Told{TextId::OfficialProfileCannotChange, TextId::ProfileCannotBeDeleted}))
            << "mode " << mode;
        EXPECT_TRUE(prompter.asked.empty());
        EXPECT_EQ(contents("ZAV_A1_OW1"), official);
        EXPECT_FALSE(has("Other"));
        prompter.told.clear();
    }
}

TEST_F(Library, delete_removes_the_typed_name_after_asking_and_keeps_what_it_cannot_remove) {
    for (const char* name : {"A", "B", "zav_a1_ow1"}) { // a lower-case official name is ordinary
        put(name, 0, 0);
    }
    lib.buildList();
    list.select(list.indexOf("B"));
    prompter.answer = false;
    act("A", kDelete);
    EXPECT_TRUE(has("A"));
    prompter.answer = true;
    lib.deleteProfile();
    EXPECT_FALSE(has("A"));
    EXPECT_EQ(list.indexOf("A"), -1);
    EXPECT_EQ(list.selected(), 0);
    EXPECT_EQ(lib.currentProfileName(), ""); // item 0 is shown, not loaded
    act("zav_a1_ow1", kDelete);
    EXPECT_FALSE(has("zav_a1_ow1"));
    EXPECT_TRUE(prompter.told.empty());

    fs::create_directories(folder(0) / "Stuck.zav4" / "inside");
    act("Stuck", kDelete);
    EXPECT_EQ(prompter.told, Told{TextId::ProfileCannotBeDeleted});
    EXPECT_TRUE(fs::exists(folder(0) / "Stuck.zav4" / "inside"));
}

TEST_F(Library, names_that_cannot_be_files_are_refused) {
    for (const char* good :
         {"Sniper", "a b", "ＡＢＣ", "COM10", "CONSOLE", "x.CON", "...", "Fast(1)", " lead"}) {
        EXPECT_TRUE(validProfileName(good)) << good;
    }
    for (const char c : std::string_view("/\\<>:\"|?*\t\x7f\0", 12)) {
        EXPECT_FALSE(validProfileName(std::string("a") + c + "b")) << int(c);
    }
    for (const char* bad : {"", "   ", "\u3000", ".", "..", " .. ", "c1\u0085", "CON", "con", "Nul.txt",
                            "lpt9.a.b", "com1 ", "AUX .x", "123456789012345678901", "\xC3", "\xC0\xAF",
                            "\xED\xA0\x80", "\xE8\xAF", "\xF4\x90\x80\x80"}) {
        EXPECT_FALSE(validProfileName(bad)) << bad;
    }
    const std::string twenty = "ÉÉÉÉÉÉÉÉÉÉÉÉÉÉÉÉÉÉÉÉ"; // twenty characters in forty bytes
    EXPECT_TRUE(validProfileName(twenty));
    EXPECT_FALSE(validProfileName(twenty + "É"));

    lib.buildListForStart();
    std::ofstream(docs / "ZAV Software" / "x.zav4").put('x');
    for (const char* typed : {"../x", "CON", "../../x"}) {
        act(typed, kSave);
        lib.deleteProfile();
        lib.copyProfile();
    }
    EXPECT_EQ(prompter.told, Told(9, TextId::InvalidProfileName));
    EXPECT_TRUE(fs::exists(docs / "ZAV Software" / "x.zav4"));
    EXPECT_FALSE(fs::exists(docs / "ZAV Software" / "ZAV KITE" / "x.zav4"));
    EXPECT_FALSE(fs::exists(docs / "x.zav4"));
    EXPECT_TRUE(prompter.asked.empty());
}

TEST_F(Library, loading_takes_record_mode_and_writer_of_the_file_and_keeps_the_folder) {
    fs::create_directories(folder(0));
    std::ofstream(folder(0) / "Empty.zav4");
    put("Kite", 0, 0, 0x21);
    put("Pad", 0, 2, 0x31);
    put("Four", 0, 4);
    put("Vanishing", 0, 0);
    ASSERT_TRUE(writeProfileFile(folder(0) / "Moss.zav4", models::kMoss, Bytes(55, 0x04), 0));
    lib.buildListForStart();
    fs::remove(folder(0) / "Vanishing.zav4");
    for (const char* name : {"Four", "Vanishing"}) { // a mode byte beyond 3, a file gone since the list
        expectNotLoaded(name);
    }
    // Current name, file model and blank items shown.
    EXPECT_EQ(std::tuple(lib.currentProfileName(), lib.loadedFileModel(), page.blankShown),
              std::tuple("", 0, 0));
    choose("Kite");
    EXPECT_EQ(page.work[0], 0x21);
    EXPECT_EQ(std::tuple(lib.currentProfileName(), lib.loadedFileModel(), page.blankShown),
              std::tuple("Kite", 1, 1));
    page.connected_ = true;
    choose("Moss");
    EXPECT_EQ(std::tuple(lib.currentProfileName(), lib.loadedFileModel(), page.blankShown),
              std::tuple("Moss", 2, 1));
    lib.copyProfile(); // a copy of another model's profile stays that model's
    EXPECT_EQ(lib.loadedFileModel(), 2);
    choose("Empty");
    EXPECT_EQ(Bytes(page.work.begin(), page.work.begin() + 60), Bytes(60, 0));

    // Another mode's profile switches the page's mode; folder, list and the file Save writes stay.
    const Names listed = list.items();
    choose("Pad");
    EXPECT_EQ(page.appliedModes, (std::vector<int>{0, 0, 0, 2}));
    EXPECT_EQ(lib.profileFolder(), folder(0) / "");
    EXPECT_EQ(list.items(), listed);
    lib.saveProfile();
    EXPECT_TRUE(fs::exists(folder(0) / "Pad.zav4"));
    EXPECT_FALSE(fs::exists(folder(2) / "Pad.zav4"));
}

// What the list merely shows is never current: Save under a typed name makes a new profile.
TEST_F(Library, save_never_renames_or_overwrites_a_profile_that_was_only_shown) {
    put("A", 0, 0, 0x0A);
    put("B", 0, 0, 0x0B);
    lib.buildListForStart();
    const std::string first = list.text();
    ASSERT_FALSE(first.empty());
    const Bytes firstBefore = contents(first);
    act("Sniper", kSave);
    EXPECT_EQ(prompter.told, Told{TextId::SaveSucceeded});
    EXPECT_TRUE(has("A") && has("B"));
    EXPECT_EQ(contents("Sniper")[0], page.shownKey);

    lib.buildListForModeChange();
    act(first, kSave);
    EXPECT_EQ(prompter.told.back(), TextId::FileAlreadyExists);
    EXPECT_EQ(contents(first), firstBefore);

    // One Delete and one Save remove one profile, never two.
    choose("A");
    lib.deleteProfile();
    EXPECT_EQ(lib.currentProfileName(), "");
    const std::string shown = list.text();
    act("Renamed", kSave);
    EXPECT_TRUE(has(shown) && has("Renamed"));

    choose("B"); // deleting another profile leaves it current
    act("Sniper", kDelete);
    EXPECT_EQ(lib.currentProfileName(), "B");
}

TEST_F(Library, names_that_are_not_utf8_keep_their_bytes_through_every_operation) {
    const std::string raw = "Bad\xFF\xFEName";
    put(raw, 0, 0, 0x4B);
    lib.buildListForStart();
    ASSERT_EQ(list.items(), Names{raw});
    const std::string shown = ProfileListModel::shownName(raw);
    EXPECT_EQ(shown, "Bad\xEF\xBF\xBD\xEF\xBF\xBDName");
    EXPECT_EQ(ProfileListModel::shownName("Caf\xC3\xA9"), "Caf\xC3\xA9");
    EXPECT_EQ(ProfileListModel::shownName("\xC0\xAF"), "\xEF\xBF\xBD\xEF\xBF\xBD"); // overlong slash

    list.setShownText(shown);
    EXPECT_EQ(list.text(), raw);
    choose(raw);
    EXPECT_EQ(page.work[0], 0x4B);
    list.setShownText(shown);
    lib.saveProfile();
    EXPECT_EQ(prompter.told, Told{TextId::SaveSucceeded});
    EXPECT_EQ(contents(raw)[0], page.shownKey);
    list.select(list.indexOf(raw));
    list.setShownText(shown);
    lib.deleteProfile();
    EXPECT_FALSE(has(raw));
    EXPECT_EQ(std::distance(fs::directory_iterator(folder(0)), {}), 0); // nothing under the mended name
}

TEST_F(Library, links_count_only_when_they_lead_to_a_file_of_the_same_folder) {
    put("Real", 0, 0, 0x52);
    put("Elsewhere", 1, 1);
    const fs::path outside = docs / "secret";
    std::ofstream(outside) << "not a profile";
    fs::create_symlink("Real.zav4", folder(0) / "In.zav4");
    fs::create_symlink(outside, folder(0) / "Out.zav4");
    fs::create_symlink("../ProfilePS3/Elsewhere.zav4", folder(0) / "Up.zav4");
    fs::create_symlink("Gone.zav4", folder(0) / "Dangling.zav4");
    lib.buildListForStart();
    EXPECT_EQ(std::set<std::string>(list.items().begin(), list.items().end()),
              (std::set<std::string>{"Real", "In"}));

    choose("In");
    EXPECT_EQ(page.work[0], 0x52);
    lib.saveProfile();
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(folder(0) / "In.zav4")));
    EXPECT_EQ(contents("Real")[0], 0x52);

    // A name held by an unlisted link is taken, and nothing is written through it.
    act("Out", kSave);
    EXPECT_EQ(prompter.told.back(), TextId::FileAlreadyExists);
    EXPECT_EQ(fs::file_size(outside), std::string_view("not a profile").size());

    // A listed link turned elsewhere later is not read.
    fs::remove(folder(0) / "In.zav4");
    fs::create_symlink(outside, folder(0) / "In.zav4");
    expectNotLoaded("In");
}

} // namespace
} // namespace zav
