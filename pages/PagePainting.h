#pragma once

#include "device/MouseClassifier.h"
#include "pages/PageLayout.h"

#include <QRect>
#include <QStringList>

class QPainter;

namespace zav {

// What the page's own drawing shows besides its layout.
struct PageState {
    int language = 0;
    int mode = 0;
    bool connected = false; // an adapter of this page's model
    MouseKind mouse = MouseKind::None;
    bool ordinaryMouseSeen = false;
};

// The page behind its controls: the skin background, the frames, the captions, the logos, the keypad
// and mouse pictures as the adapter stands.
void paintPage(QPainter& painter, const QRect& pageRect, const PageLayout& layout, const PageState& state);

// The pictures a page of `model` may draw, those of its first paint first.
QStringList pagePictureNames(int model);

} // namespace zav
