#include "app/SimulatorWindow.h"

#include "device/SimulatedAdapter.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>

namespace zav {

SimulatorWindow::SimulatorWindow(SimulatedAdapter& adapter, int model, Mouse mouse, int capability,
                                 QWidget* parent)
    : QWidget(parent, Qt::Window), adapter_(adapter) {
    setWindowTitle(QStringLiteral("Simulated adapter"));
    setObjectName(QStringLiteral("simulator"));

    model_ = new QComboBox(this);
    model_->setObjectName(QStringLiteral("model"));
    model_->addItems({QStringLiteral("ZAV KITE"), QStringLiteral("ZAV MOSS"), QStringLiteral("ZAV FERN")});
    model_->setCurrentIndex(model >= 1 && model <= 3 ? model - 1 : 0);

    mouse_ = new QComboBox(this);
    mouse_->setObjectName(QStringLiteral("mouse"));
    mouse_->addItems(
        {QStringLiteral("No mouse"), QStringLiteral("Ordinary mouse"), QStringLiteral("Own mouse")});
    mouse_->setCurrentIndex(static_cast<int>(mouse));

    capability_ = new QSpinBox(this);
    capability_->setObjectName(QStringLiteral("capability"));
    capability_->setRange(0, 255);
    capability_->setValue(capability);

    auto* plugButton = new QPushButton(QStringLiteral("Plug in"), this);
    plugButton->setObjectName(QStringLiteral("plug"));
    auto* unplugButton = new QPushButton(QStringLiteral("Unplug"), this);
    unplugButton->setObjectName(QStringLiteral("unplug"));
    state_ = new QLabel(this);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Model"), model_);
    form->addRow(QStringLiteral("Mouse"), mouse_);
    form->addRow(QStringLiteral("Capability"), capability_);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(plugButton);
    buttons->addWidget(unplugButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    layout->addWidget(state_);

    connect(plugButton, &QPushButton::clicked, this, &SimulatorWindow::plug);
    connect(unplugButton, &QPushButton::clicked, this, &SimulatorWindow::unplug);
    // A mouse or capability change is no USB event: the program sees it at its next status poll.
    connect(mouse_, &QComboBox::currentIndexChanged, this,
            [this](int index) { applyMouse(adapter_, static_cast<Mouse>(index)); });
    connect(capability_, &QSpinBox::valueChanged, this,
            [this](int value) { adapter_.setCapability(static_cast<std::uint8_t>(value)); });
    // Changing the model of a plugged adapter is an unplug and a plug.
    connect(model_, &QComboBox::currentIndexChanged, this, [this] {
        if (adapter_.pluggedModel() != 0) {
            plug();
        }
    });
    showState();
}

void SimulatorWindow::applyMouse(SimulatedAdapter& adapter, Mouse mouse) {
    switch (mouse) {
    case Mouse::None:
        adapter.setMouse(0, 0);
        break;
    case Mouse::Ordinary:
        adapter.setMouse(0x046D, 0xC077);
        break;
    case Mouse::Own:
        adapter.setMouse(0x2B7C, 0x0061);
        break;
    }
}

void SimulatorWindow::plug() {
    adapter_.plug(model_->currentIndex() + 1);
    showState();
    emit deviceChanged();
}

void SimulatorWindow::unplug() {
    adapter_.unplug();
    showState();
    emit deviceChanged();
}

void SimulatorWindow::showState() {
    const int model = adapter_.pluggedModel();
    state_->setText(model == 0 ? QStringLiteral("Nothing plugged in")
                               : QStringLiteral("Plugged in: %1").arg(model_->itemText(model - 1)));
}

QPoint SimulatorWindow::placeBeside(const QRect& main, QSize size, const QRect& screen) {
    constexpr int kGap = 12;
    // Inside the screen it stands below the main window's title row, clear of its close button.
    constexpr int kBelowHeader = 60;
    QPoint at(main.right() + 1 + kGap, main.top());
    if (at.x() + size.width() > screen.right() + 1) {
        at.setX(main.left() - kGap - size.width());
        if (at.x() < screen.left()) {
            at = QPoint(screen.right() + 1 - size.width(), main.top() + kBelowHeader);
        }
    }
    at.setX(std::max(at.x(), screen.left()));
    at.setY(std::clamp(at.y(), screen.top(), std::max(screen.top(), screen.bottom() + 1 - size.height())));
    return at;
}

} // namespace zav
