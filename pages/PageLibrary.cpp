#include "pages/PageLibrary.h"

#include "controls/SkinComboBox.h"
#include "device/DeviceLink.h"
#include "pages/AssignmentPage.h"
#include "pages/ControlIds.h"
#include "pages/PageHost.h"
#include "profiles/ProfileLibrary.h"
#include "profiles/ProfileRecord.h"

#include <QLineEdit>
#include <QPushButton>

#include <utility>

namespace zav {

PageLibrary::PageLibrary(AssignmentPage& page, PageHost& host, SkinComboBox& list)
    : page_(page), host_(host), list_(list),
      library_(std::make_unique<ProfileLibrary>(AssignmentPage::documentsFolder().toStdString(), *this,
                                                profiles_, *this)) {
    // Only an item chosen in the open list loads: typing a name, leaving the field or an arrow key
    // never loads a profile over the page.
    QObject::connect(&list_, &SkinComboBox::chosen, &page_, [this](int index) {
        profiles_.select(index);
        run(&ProfileLibrary::loadSelected);
    });
    QObject::connect(list_.lineEdit(), &QLineEdit::textEdited, &page_,
                     [this](const QString& typed) { profiles_.setText(typed.toStdString()); });
    const std::pair<int, void (ProfileLibrary::*)()> buttons[] = {
        {ids::kNew, &ProfileLibrary::newProfile},       {ids::kCopy, &ProfileLibrary::copyProfile},
        {ids::kSave, &ProfileLibrary::saveProfile},     {ids::kDefault, &ProfileLibrary::resetProfile},
        {ids::kDelete, &ProfileLibrary::deleteProfile},
    };
    for (const auto& [id, operation] : buttons) {
        QObject::connect(qobject_cast<QPushButton*>(page_.control(id)), &QPushButton::clicked, &page_,
                         [this, operation = operation] { run(operation); });
    }
}

PageLibrary::~PageLibrary() = default;

void PageLibrary::run(void (ProfileLibrary::*operation)()) {
    // The list shows mended names; the library acts on the file system's own bytes.
    profiles_.setShownText(list_.currentText().toStdString());
    ((*library_).*operation)();
    sync();
}

void PageLibrary::sync() {
    const QSignalBlocker block(&list_);
    list_.clear();
    for (const std::string& name : profiles_.items()) {
        list_.addItem(QString::fromStdString(ProfileListModel::shownName(name)));
    }
    list_.setCurrentIndex(profiles_.selected());
    list_.setEditText(QString::fromStdString(ProfileListModel::shownName(profiles_.text())));
}

void PageLibrary::clearText() {
    profiles_.setText(std::string());
    list_.setEditText(QString());
}

int PageLibrary::model() const {
    return page_.model();
}

int PageLibrary::mode() const {
    return page_.mode();
}

int PageLibrary::slot() const {
    return page_.profileSlot();
}

std::span<std::uint8_t> PageLibrary::record(int slot) {
    return recordAt(host_.link().workImage(page_.model()), page_.model(), slot);
}

void PageLibrary::collect() {
    page_.collect();
}

void PageLibrary::resetAndShow(int slot) {
    page_.resetAndShow(slot);
}

void PageLibrary::takeLoadedRecord(int mode, std::span<const std::uint8_t> loaded) {
    page_.takeLoadedRecord(mode, loaded);
}

bool PageLibrary::connected() const {
    return host_.connected();
}

void PageLibrary::showBlankSlotItem() {
    page_.showBlankSlotItem();
}

void PageLibrary::sendStatus() {
    page_.sendStatus();
}

void PageLibrary::tell(TextId id) {
    page_.tell(id);
}

bool PageLibrary::ask(TextId id) {
    return page_.ask(id);
}

} // namespace zav
