#include "pages/PagePainting.h"

#include "controls/QtText.h"
#include "controls/Skin.h"
#include "pages/KeyTables.h"
#include "pages/Pictures.h"
#include "text/Texts.h"

#include <QPainter>
#include <QPolygon>

namespace zav {

namespace {

constexpr auto kOneLine = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine;

QRect qrect(const Box& b) {
    return QRect(b.x, b.y, b.w, b.h);
}

void drawFrame(QPainter& p, const Box& b) {
    drawFrameRect(p, b.x, b.y, b.x + b.w, b.y + b.h);
}

// Draws `text` centred on one line at the bottom of `box`.
void drawBottomCentred(QPainter& p, const Box& box, const QString& text) {
    p.drawText(qrect(box), Qt::AlignHCenter | Qt::AlignBottom | Qt::TextSingleLine, text);
}

// Pictures are decoded when first drawn, so pages hidden at start decode none.
QImage picture(std::string_view name) {
    return loadPicture(qstr(name));
}

void drawMouse(QPainter& p, const PageLayout& layout, const PageState& state) {
    const PageArt& art = pageArt();
    const QString noMouse = qstr(text(TextId::MouseNotConnected, state.language));
    if (state.mouse != MouseKind::None && state.connected) {
        if (state.mouse == MouseKind::Own) {
            p.drawImage(qrect(art.ownMouse), picture(layout.ownMouseConnected));
        } else {
            p.drawImage(qrect(art.ordinaryMouseLeft), picture("mouse_connect_normal.png"));
            p.drawImage(qrect(art.ordinaryMouseRight), picture("mouse_connect1_normal.png"));
        }
    } else if (state.ordinaryMouseSeen) {
        p.drawImage(qrect(art.ordinaryMouseLeft), picture("mouse_disconnect_normal.png"));
        p.drawImage(qrect(art.ordinaryMouseRight), picture("mouse_disconnect1_normal.png"));
        drawBottomCentred(p, art.ordinaryMouseAbsent, noMouse);
    } else {
        p.drawImage(qrect(art.ownMouse), picture(layout.ownMouseDisconnected));
        drawBottomCentred(p, art.ownMouseAbsent, noMouse);
    }
}

} // namespace

void paintPage(QPainter& p, const QRect& pageRect, const PageLayout& layout, const PageState& state) {
    const PageArt& art = pageArt();
    const QImage& background = skinBackground();
    if (background.isNull()) {
        p.fillRect(pageRect, Qt::black);
    } else {
        drawPicturePart(p, QRect(QPoint(art.backgroundOrigin.x, art.backgroundOrigin.y), pageRect.size()),
                        background, qrect(art.backgroundSource));
    }

    p.setPen(skin::kFrameBrown);
    drawFrame(p, art.profileFrame);
    QPolygon outline;
    for (const Point& corner : art.writeOutline) {
        outline << QPoint(corner.x, corner.y);
    }
    p.drawPolyline(outline);
    drawFrame(p, layout.paletteFrame);
    drawFrame(p, art.mouseFrame);

    const int language = state.language;
    p.setPen(skin::kRed);
    p.setFont(languageFont(11, language));
    p.drawText(qrect(layout.assignPadCaption), kOneLine, qstr(text(TextId::AssignPad, language)));
    p.drawText(qrect(art.mouseSettingsCaption), kOneLine, qstr(text(TextId::MouseSettings, language)));

    if (const QImage pcLogo = picture("ZAV_pc_logo.png"); !pcLogo.isNull()) {
        p.drawImage(qrect(art.pcLogo), pcLogo);
    }
    if (const QImage logo = picture("ZAV_logo.png"); !logo.isNull()) {
        p.drawImage(qrect(art.logo), logo);
    }

    for (const PicturePlace& keypad : layout.keypad) {
        if (keypad.box.empty()) {
            continue;
        }
        if (const QImage shown = picture(state.connected ? keypad.connected : keypad.disconnected);
            !shown.isNull()) {
            p.drawImage(qrect(keypad.box), shown);
        }
    }
    if (!state.connected) {
        drawBottomCentred(p, layout.keypadNotConnected, qstr(text(TextId::KeypadNotConnected, language)));
    }

    drawMouse(p, layout, state);

    const std::array<TextId, 4> fn = {TextId::FnButton1, TextId::FnButton2, TextId::FnButton3,
                                      TextId::FnButton4};
    for (std::size_t i = 0; i < fn.size(); ++i) {
        if (!layout.fnCaptions[i].empty()) {
            p.drawText(qrect(layout.fnCaptions[i]), kOneLine, qstr(text(fn[i], language)));
        }
    }
    if (!layout.prioritizeCaption.empty() && state.mode == kModeKeyboard) {
        p.drawText(qrect(layout.prioritizeCaption), kOneLine,
                   qstr(text(TextId::PrioritizePressedButton, language)));
    }
}

QStringList pagePictureNames(int model) {
    const PageLayout& layout = pageLayout(model);
    QStringList names = {QStringLiteral("ZAV_pc_logo.png"), QStringLiteral("ZAV_logo.png")};
    for (const PicturePlace& keypad : layout.keypad) {
        if (!keypad.box.empty()) {
            names << qstr(keypad.connected) << qstr(keypad.disconnected);
        }
    }
    names << qstr(layout.ownMouseConnected) << qstr(layout.ownMouseDisconnected)
          << QStringLiteral("mouse_connect_normal.png") << QStringLiteral("mouse_connect1_normal.png")
          << QStringLiteral("mouse_disconnect_normal.png") << QStringLiteral("mouse_disconnect1_normal.png");
    return names;
}

} // namespace zav
