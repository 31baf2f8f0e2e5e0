#include "controls/SkinMessageBox.h"
#include "controls/Skin.h"
#include "controls/SkinButton.h"
#include "tests/controls/QtTestApp.h"

#include <QDesktopServices>
#include <QLabel>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace zav {
namespace {

using test::anyPixel;
using test::snapshot;

QStringList linesOf(int count) {
    QStringList lines;
    for (int i = 1; i <= count; ++i) {
        lines << QStringLiteral("Line %1").arg(i);
    }
    return lines;
}

// Runs the box modally and lets `act` press its keys or buttons once it is up.
int run(SkinMessageBox& box, std::function<void()> act) {
    QTimer::singleShot(0, &box, [&box, act] {
        if (QTest::qWaitForWindowExposed(&box)) {
            act();
        }
        if (box.isVisible()) {
            box.done(-1);
        }
    });
    return box.exec();
}

struct SizeRow {
    int lines;
    int height;
    int buttonTop;
};

class MessageBoxSize : public ::testing::TestWithParam<SizeRow> {};

TEST_P(MessageBoxSize, grows_25_pixels_a_line_with_the_buttons_below_the_last) {
    const SizeRow row = GetParam();
    SkinMessageBox box(linesOf(row.lines), MessageBoxKind::OkCancel, 0);
    EXPECT_EQ(box.size(), QSize(500, row.height));
    EXPECT_EQ(box.okButton()->geometry(), QRect(180, row.buttonTop, 60, 30));
    EXPECT_EQ(box.cancelButton()->geometry(), QRect(260, row.buttonTop, 60, 30));
}

INSTANTIATE_TEST_SUITE_P(LineCounts, MessageBoxSize,
                         ::testing::Values(SizeRow{1, 75, 35}, SizeRow{2, 100, 60}, SizeRow{4, 150, 110},
                                           SizeRow{6, 200, 160}, SizeRow{11, 325, 285}),
                         [](const ::testing::TestParamInfo<SizeRow>& info) {
                             return std::to_string(info.param.lines) + "_lines";
                         });

TEST(MessageBoxLayout, ok_only_centres_the_ok_button_and_hides_cancel) {
    SkinMessageBox box({QStringLiteral("Write complete.")}, MessageBoxKind::OkOnly, 0);
    EXPECT_EQ(box.okButton()->geometry(), QRect(220, 35, 60, 30));
    EXPECT_EQ(box.okButton()->text(), QStringLiteral("OK"));
    EXPECT_TRUE(box.cancelButton()->isHidden());
    EXPECT_EQ(box.okButton()->objectName(), QStringLiteral("1"));
    EXPECT_EQ(box.cancelButton()->objectName(), QStringLiteral("2"));
}

TEST(MessageBoxLayout, yes_no_captions_stay_english_in_every_language) {
    for (int language = 0; language < 6; ++language) {
        SkinMessageBox box({QString::fromUtf8("プロファイルを削除しますか?")}, MessageBoxKind::YesNo,
                           language);
        EXPECT_EQ(box.okButton()->text(), QStringLiteral("Yes"));
        EXPECT_EQ(box.cancelButton()->text(), QStringLiteral("No"));
        EXPECT_FALSE(box.cancelButton()->isHidden());
    }
}

TEST(MessageBoxLayout, the_highest_non_empty_line_sets_the_size_and_a_single_space_counts) {
    SkinMessageBox gap({QStringLiteral("one"), QStringLiteral("two"), QString(), QStringLiteral("four")},
                       MessageBoxKind::OkOnly, 0);
    EXPECT_EQ(gap.height(), 150);
    SkinMessageBox space({QStringLiteral("one"), QStringLiteral(" ")}, MessageBoxKind::OkOnly, 0);
    EXPECT_EQ(space.height(), 100);
    SkinMessageBox trailing({QStringLiteral("one"), QString(), QString()}, MessageBoxKind::OkOnly, 0);
    EXPECT_EQ(trailing.height(), 75);
}

TEST(MessageBoxLayout, the_window_is_named_by_its_lines) {
    SkinMessageBox box(
        {QStringLiteral("File already exists,please enter again!"), QString(), QStringLiteral("  second")},
        MessageBoxKind::OkOnly, 0);
    EXPECT_EQ(box.windowTitle(), QStringLiteral("File already exists,please enter again! second"));
}

TEST(MessageBoxLayout, takes_utf8_lines_from_the_text_catalogue) {
    const std::vector<std::string> lines{"Eine neue Version der Software ist verfügbar.",
                                         "Update ausführen?"};
    SkinMessageBox box(lines, MessageBoxKind::OkOnly, 2);
    EXPECT_EQ(box.lineCount(), 2);
    EXPECT_EQ(box.line(0), QString::fromUtf8("Eine neue Version der Software ist verfügbar."));
}

TEST(MessageBoxPainting, empty_lines_keep_their_place) {
    SkinMessageBox box({QStringLiteral("one"), QStringLiteral("two"), QString(), QStringLiteral("four")},
                       MessageBoxKind::OkOnly, 0);
    const QImage image = snapshot(box);
    EXPECT_TRUE(anyPixel(image, box.lineRect(0), skin::kRed, 60));
    EXPECT_TRUE(anyPixel(image, box.lineRect(1), skin::kRed, 60));
    EXPECT_FALSE(anyPixel(image, box.lineRect(2), skin::kRed, 60));
    EXPECT_TRUE(anyPixel(image, box.lineRect(3), skin::kRed, 60));
    EXPECT_EQ(box.lineRect(3), QRect(17, 87, 466, 20));
}

TEST(MessageBoxPainting, long_line_is_clipped_at_the_right_not_wrapped) {
    SkinMessageBox box({QString(120, QLatin1Char('W')), QStringLiteral(" ")}, MessageBoxKind::OkOnly, 0);
    const QImage image = snapshot(box);
    EXPECT_TRUE(anyPixel(image, QRect(470, 12, 13, 20), skin::kRed, 60));
    EXPECT_FALSE(anyPixel(image, QRect(483, 12, 14, 20), skin::kRed, 60));
    EXPECT_FALSE(anyPixel(image, box.lineRect(1), skin::kRed, 60));
}

TEST(MessageBoxResult, ok_and_enter_return_idok) {
    SkinMessageBox clicked({QStringLiteral("x")}, MessageBoxKind::OkCancel, 0);
    EXPECT_EQ(run(clicked, [&] { QTest::mouseClick(clicked.okButton(), Qt::LeftButton); }), IDOK);
    SkinMessageBox entered({QStringLiteral("x")}, MessageBoxKind::OkCancel, 0);
    EXPECT_EQ(run(entered, [&] { QTest::keyClick(&entered, Qt::Key_Return); }), IDOK);
}

TEST(MessageBoxResult, cancel_and_esc_return_idcancel) {
    SkinMessageBox clicked({QStringLiteral("x")}, MessageBoxKind::OkCancel, 0);
    EXPECT_EQ(run(clicked, [&] { QTest::mouseClick(clicked.cancelButton(), Qt::LeftButton); }), IDCANCEL);
    SkinMessageBox escaped({QStringLiteral("x")}, MessageBoxKind::OkCancel, 0);
    EXPECT_EQ(run(escaped, [&] { QTest::keyClick(&escaped, Qt::Key_Escape); }), IDCANCEL);
}

TEST(MessageBoxResult, yes_returns_idok_and_no_or_esc_idcancel) {
    SkinMessageBox yes({QStringLiteral("Delete?")}, MessageBoxKind::YesNo, 0);
    EXPECT_EQ(run(yes, [&] { QTest::mouseClick(yes.okButton(), Qt::LeftButton); }), IDOK);
    SkinMessageBox no({QStringLiteral("Delete?")}, MessageBoxKind::YesNo, 0);
    EXPECT_EQ(run(no, [&] { QTest::mouseClick(no.cancelButton(), Qt::LeftButton); }), IDCANCEL);
    SkinMessageBox escaped({QStringLiteral("Delete?")}, MessageBoxKind::YesNo, 0);
    EXPECT_EQ(run(escaped, [&] { QTest::keyClick(&escaped, Qt::Key_Escape); }), IDCANCEL);
}

TEST(MessageBoxResult, ok_only_box_closes_with_idcancel_on_esc) {
    SkinMessageBox box({QStringLiteral("x")}, MessageBoxKind::OkOnly, 0);
    EXPECT_EQ(run(box, [&] { QTest::keyClick(&box, Qt::Key_Escape); }), IDCANCEL);
}

// Takes the place of the web browser.
class UrlCatcher : public QObject {
    Q_OBJECT

public:
    QList<QUrl> opened;

public slots:
    void open(const QUrl& url) { opened << url; }
};

TEST(MessageBoxLink, shows_in_the_second_line_place_and_opens_the_update_page_leaving_the_box_open) {
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler(QStringLiteral("https"), &catcher, "open");
    SkinMessageBox box({QStringLiteral("New version can be download!"), QStringLiteral(" ")},
                       MessageBoxKind::OkOnly, 0);
    EXPECT_TRUE(box.linkLabel()->isHidden());
    box.setShowUpdateLink(true);
    EXPECT_EQ(box.linkLabel()->geometry(), QRect(15, 37, 400, 16));
    EXPECT_EQ(box.linkLabel()->objectName(), QStringLiteral("1183"));

    bool stillOpen = false;
    const int result = run(box, [&] {
        EXPECT_TRUE(box.linkLabel()->isVisible());
        QTest::mouseClick(box.linkLabel(), Qt::LeftButton);
        stillOpen = box.isVisible();
        QTest::mouseClick(box.okButton(), Qt::LeftButton);
    });
    QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(result, IDOK);
    ASSERT_EQ(catcher.opened.size(), 1);
    EXPECT_EQ(catcher.opened.front(), SkinMessageBox::updatePageUrl());
}

} // namespace
} // namespace zav

#include "SkinMessageBoxTest.moc"
