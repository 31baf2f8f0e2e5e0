#include "controls/SkinButton.h"
#include "controls/SkinMessageBox.h"
#include "tests/controls/QtTestApp.h"

#include <QDesktopServices>
#include <QLabel>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>

namespace zav {
namespace {

// Runs the box modally and lets `act` press its keys or buttons once it is up.
int run(SkinMessageBox& box, const std::function<void(SkinMessageBox&)>& act) {
    QTimer::singleShot(0, &box, [&box, act] {
        if (QTest::qWaitForWindowExposed(&box)) {
            act(box);
        }
        if (box.isVisible()) {
            box.done(-1);
        }
    });
    return box.exec();
}

void clickOk(SkinMessageBox& box) {
    QTest::mouseClick(box.okButton(), Qt::LeftButton);
}
void clickCancel(SkinMessageBox& box) {
    QTest::mouseClick(box.cancelButton(), Qt::LeftButton);
}
void enter(SkinMessageBox& box) {
    QTest::keyClick(&box, Qt::Key_Return);
}
void escape(SkinMessageBox& box) {
    QTest::keyClick(&box, Qt::Key_Escape);
}

TEST(MessageBox, answers_what_its_buttons_and_keys_say) {
    struct Case {
        MessageBoxKind kind;
        void (*act)(SkinMessageBox&);
        int answer;
    };
    for (const Case c :
         {Case{MessageBoxKind::OkCancel, clickOk, IDOK}, Case{MessageBoxKind::OkCancel, enter, IDOK},
          Case{MessageBoxKind::OkCancel, clickCancel, IDCANCEL},
          Case{MessageBoxKind::OkCancel, escape, IDCANCEL}, Case{MessageBoxKind::YesNo, clickOk, IDOK},
          Case{MessageBoxKind::YesNo, clickCancel, IDCANCEL}, Case{MessageBoxKind::YesNo, escape, IDCANCEL},
          Case{MessageBoxKind::OkOnly, clickOk, IDOK}, Case{MessageBoxKind::OkOnly, escape, IDCANCEL}}) {
        SkinMessageBox box({QStringLiteral("Delete this profile?")}, c.kind, 0);
        EXPECT_EQ(run(box, c.act), c.answer) << "kind " << int(c.kind);
    }
}

TEST(MessageBox, keeps_its_buttons_below_its_last_line_and_inside) {
    QStringList text;
    for (int lines = 1; lines <= SkinMessageBox::kMaxLines; ++lines) {
        SCOPED_TRACE(lines);
        text << QStringLiteral("Line %1").arg(lines);
        if (lines == 3) {
            text[1].clear(); // an empty line between keeps its place
        }
        SkinMessageBox box(text, MessageBoxKind::OkCancel, 0);
        const QRect ok = box.okButton()->geometry();
        const QRect cancel = box.cancelButton()->geometry();
        EXPECT_GT(ok.top(), box.lineRect(lines - 1).bottom());
        EXPECT_TRUE(box.rect().contains(ok) && box.rect().contains(cancel) && !ok.intersects(cancel));
        SkinMessageBox trailing(text + QStringList{QString(), QString()}, MessageBoxKind::OkCancel, 0);
        EXPECT_EQ(trailing.height(), box.height()) << "trailing empty lines take no room";
    }
}

// Takes the place of the web browser.
class UrlCatcher : public QObject {
    Q_OBJECT

public:
    QList<QUrl> opened;

public slots:
    void open(const QUrl& url) { opened << url; }
};

TEST(MessageBox, its_link_opens_the_update_page_and_leaves_the_box_open) {
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler(QStringLiteral("https"), &catcher, "open");
    SkinMessageBox box({QStringLiteral("New version can be download!"), QStringLiteral(" ")},
                       MessageBoxKind::OkOnly, 0);
    box.setShowUpdateLink(true);
    bool stillOpen = false;
    const int answer = run(box, [&](SkinMessageBox& shown) {
        QTest::mouseClick(shown.linkLabel(), Qt::LeftButton);
        stillOpen = shown.isVisible();
        clickOk(shown);
    });
    QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(answer, IDOK);
    EXPECT_EQ(catcher.opened, QList<QUrl>{SkinMessageBox::updatePageUrl()});
}

} // namespace
} // namespace zav

#include "MessageBoxTest.moc"
