#pragma once

#include "profiles/LibraryPage.h"
#include "profiles/ProfileListModel.h"
#include "profiles/Prompter.h"

#include <memory>

namespace zav {

class AssignmentPage;
class PageHost;
class ProfileLibrary;
class SkinComboBox;

// The profile files of the page: the profile list with its New, Copy, Save, Default and Delete buttons,
// over ProfileLibrary, which sees the page's record and mode and the message box through this binding.
class PageLibrary : public LibraryPage, public Prompter {
public:
    PageLibrary(AssignmentPage& page, PageHost& host, SkinComboBox& list);
    ~PageLibrary() override;
    PageLibrary(const PageLibrary&) = delete;
    PageLibrary& operator=(const PageLibrary&) = delete;

    ProfileLibrary& library() { return *library_; }
    const ProfileListModel& profiles() const { return profiles_; }

    // Runs one of the library's operations on the name in the list's field, then shows its list.
    void run(void (ProfileLibrary::*operation)());
    // The list shows the library's items, its selection and its text.
    void sync();
    void clearText();

    int model() const override;
    int mode() const override;
    int slot() const override;
    std::span<std::uint8_t> record(int slot) override;
    void collect() override;
    void resetAndShow(int slot) override;
    void takeLoadedRecord(int mode, std::span<const std::uint8_t> loaded) override;
    bool connected() const override;
    void showBlankSlotItem() override;
    void sendStatus() override;
    void tell(TextId id) override;
    bool ask(TextId id) override;

private:
    AssignmentPage& page_;
    PageHost& host_;
    SkinComboBox& list_;
    ProfileListModel profiles_;
    std::unique_ptr<ProfileLibrary> library_;
};

} // namespace zav
