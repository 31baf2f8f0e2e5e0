#include "profiles/ProfileListModel.h"

#include <algorithm>
#include <utility>

namespace zav {

int ProfileListModel::indexOf(std::string_view text) const {
    const auto found = std::find(items_.begin(), items_.end(), text);
    return found == items_.end() ? -1 : static_cast<int>(found - items_.begin());
}

void ProfileListModel::clear() {
    items_.clear();
    selected_ = -1;
    text_.clear();
}

void ProfileListModel::append(std::string name) {
    items_.push_back(std::move(name));
}

bool ProfileListModel::insertAt(int index, std::string name) {
    if (index < 0 || index > count()) {
        return false;
    }
    items_.insert(items_.begin() + index, std::move(name));
    if (selected_ >= index) {
        ++selected_;
    }
    return true;
}

bool ProfileListModel::removeAt(int index) {
    if (index < 0 || index >= count()) {
        return false;
    }
    items_.erase(items_.begin() + index);
    if (selected_ == index) {
        selected_ = -1;
    } else if (selected_ > index) {
        --selected_;
    }
    return true;
}

bool ProfileListModel::remove(std::string_view text) {
    return removeAt(indexOf(text));
}

void ProfileListModel::select(int index) {
    if (index < 0 || index >= count()) {
        selected_ = -1;
        text_.clear();
        return;
    }
    selected_ = index;
    text_ = items_[static_cast<std::size_t>(index)];
}

void ProfileListModel::setText(std::string text) {
    text_ = std::move(text);
}

} // namespace zav
