#include "controls/SkinButton.h"
#include "controls/SkinMessageBox.h"
#include "tests/controls/QtTestApp.h"

#include <QDesktopServices>
#include <QLabel>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>
#include <tuple>

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

// Takes the place of the web browser.
class UrlCatcher : public QObject {
    Q_OBJECT

public:
    QList<QUrl> opened;

public slots:
    void open(const QUrl& url) { opened << url; }
};

TEST(MessageBox, answers_as_its_buttons_and_keys_say_keeps_them_below_its_text_and_opens_its_link) {
    using Act = void (*)(SkinMessageBox&);
    const Act ok = [](SkinMessageBox& b) { QTest::mouseClick(b.okButton(), Qt::LeftButton); };
    const Act cancel = [](SkinMessageBox& b) { QTest::mouseClick(b.cancelButton(), Qt::LeftButton); };
    const Act enter = [](SkinMessageBox& b) { QTest::keyClick(&b, Qt::Key_Return); };
    const Act escape = [](SkinMessageBox& b) { QTest::keyClick(&b, Qt::Key_Escape); };
    using K = MessageBoxKind;
    const std::tuple<K, Act, int> rows[] = {
        {K::OkCancel, ok, IDOK},         {K::OkCancel, enter, IDOK}, {K::OkCancel, cancel, IDCANCEL},
        {K::OkCancel, escape, IDCANCEL}, {K::YesNo, ok, IDOK},       {K::YesNo, cancel, IDCANCEL},
        {K::YesNo, escape, IDCANCEL},    {K::OkOnly, ok, IDOK},      {K::OkOnly, escape, IDCANCEL}};
    for (const auto& [kind, act, answer] : rows) {
        SkinMessageBox box({QStringLiteral("Delete this profile?")}, kind, 0);
        EXPECT_EQ(run(box, act), answer) << "kind " << int(kind);
    }

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

    // Its link opens the update page and leaves the box open.
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler(QStringLiteral("https"), &catcher, "open");
    SkinMessageBox box({QStringLiteral("New version can be download!"), QStringLiteral(" ")},
                       MessageBoxKind::OkOnly, 0);
    box.setShowUpdateLink(true);
    bool stillOpen = false;
    const int answer = run(box, [&](SkinMessageBox& shown) {
        QTest::mouseClick(shown.linkLabel(), Qt::LeftButton);
        stillOpen = shown.isVisible();
        QTest::mouseClick(shown.okButton(), Qt::LeftButton);
    });
    QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(answer, IDOK);
    EXPECT_EQ(catcher.opened, QList<QUrl>{SkinMessageBox::updatePageUrl()});
}

} // namespace
} // namespace zav

#include "MessageBoxTest.moc"
