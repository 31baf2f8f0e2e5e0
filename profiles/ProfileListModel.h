#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zav {

// The state of the editable profile list (1126) as plain data: its items in insertion order (never
// sorted), the selected item and the text of its edit field, which may hold a typed name that is not an
// item. Items are file names as the file system gives them, which need not be valid UTF-8. The page mirrors
// it into its combo box and feeds the user's typing and choices back.
class ProfileListModel {
public:
    const std::vector<std::string>& items() const { return items_; }
    int count() const { return static_cast<int>(items_.size()); }
    // -1 when no item has that text.
    int indexOf(std::string_view text) const;
    // -1 when nothing is selected.
    int selected() const { return selected_; }
    // The edit field: what the user typed, or the selected item's name.
    const std::string& text() const { return text_; }

    // No items, no selection, empty edit field.
    void clear();
    void append(std::string name);
    // Fails, changing nothing, when index is beyond the end.
    bool insertAt(int index, std::string name);
    // Removing the selected item leaves no selection but keeps the edit field.
    bool removeAt(int index);
    // Removes the first item with that text.
    bool remove(std::string_view text);
    // Shows the item in the edit field. Any index that names no item leaves no selection and an empty
    // edit field.
    void select(int index);
    // The user typed into the edit field; the selection stays.
    void setText(std::string text);
    // The edit field as the list shows it (see shownName): a text that is the shown form of an item
    // stands for that item's own name, the selected item first; any other text is taken as typed.
    void setShownText(std::string shown);

    // A name as the list shows it: valid UTF-8, with U+FFFD for each byte that is not part of a valid
    // sequence. Items keep the file system's bytes; only what is shown is mended.
    static std::string shownName(std::string_view name);

private:
    std::vector<std::string> items_;
    int selected_ = -1;
    std::string text_;
};

} // namespace zav
