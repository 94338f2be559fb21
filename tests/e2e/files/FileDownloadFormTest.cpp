#include "services/files/FileDownloadFormUnit.h"
#include "services/files/QtCopyProgress.h"

#include <QApplication>
#include <QLabel>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <functional>
#include <gtest/gtest.h>

namespace {

// Shows the prompt modally, as the commands do, and acts on it once it is on screen.
int execWith(const std::function<void(TFileDownloadForm&)>& act) {
    QWidget owner;
    owner.resize(800, 600);
    owner.show();
    TFileDownloadForm form(&owner);
    QTimer::singleShot(0, &form, [&form, act] {
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&form));
        act(form);
    });
    return form.exec();
}

TEST(FileDownloadForm, TextsAndGeometry) {
    TFileDownloadForm form;
    EXPECT_EQ(form.objectName(), QStringLiteral("FileDownloadForm"));
    EXPECT_EQ(form.windowTitle(), QStringLiteral("파일 다운로드"));
    EXPECT_EQ(form.size(), QSize(369, 83));
    auto* label = form.findChild<QLabel*>(QStringLiteral("Label1"));
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text(), QStringLiteral("이 파일을 실행 또는 저장하시겠습니까?"));
    EXPECT_EQ(label->pos(), QPoint(20, 16));
    EXPECT_EQ(label->font().pixelSize(), 12);
    EXPECT_EQ(form.font().pixelSize(), 11);
    struct Button {
        const char* name;
        const char* text;
        int left;
    } buttons[] = {{"OpenButton", "열기", 124}, {"SaveButton", "저장", 205}, {"AbortButton", "취소", 286}};
    for (const Button& b : buttons) {
        SCOPED_TRACE(b.name);
        auto* button = form.findChild<QPushButton*>(QLatin1String(b.name));
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->text(), QString::fromUtf8(b.text));
        EXPECT_EQ(button->geometry(), QRect(b.left, 50, 75, 25));
    }
    EXPECT_TRUE(form.windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(form.windowFlags() & Qt::WindowMaximizeButtonHint);
}

// The label must fit the window, whatever font stood in for Tahoma.
TEST(FileDownloadForm, LabelFitsAndShowsHangul) {
    TFileDownloadForm form;
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    const QRect label = form.Label1->geometry();
    EXPECT_LE(label.right(), form.width());
    EXPECT_LT(label.bottom(), 50);
    EXPECT_TRUE(QFontMetrics(form.Label1->font()).inFont(QChar(u'파')));
}

TEST(FileDownloadForm, TabOrderStartsAtSave) {
    const int result = execWith([](TFileDownloadForm& form) {
        EXPECT_EQ(QApplication::focusWidget(), form.SaveButton);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), form.AbortButton);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), form.OpenButton);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), form.SaveButton);
        form.done(TFileDownloadForm::CancelResult);
    });
    EXPECT_EQ(result, 2);
}

TEST(FileDownloadForm, Results) {
    struct Case {
        const char* name;
        std::function<void(TFileDownloadForm&)> act;
        int result;
    } cases[] = {
        {"open", [](TFileDownloadForm& f) { QTest::mouseClick(f.OpenButton, Qt::LeftButton); }, 1},
        {"save", [](TFileDownloadForm& f) { QTest::mouseClick(f.SaveButton, Qt::LeftButton); }, 6},
        {"abort", [](TFileDownloadForm& f) { QTest::mouseClick(f.AbortButton, Qt::LeftButton); }, 2},
        {"space on the focused save button",
         [](TFileDownloadForm& f) { QTest::keyClick(f.SaveButton, Qt::Key_Space); }, 6},
        {"escape", [](TFileDownloadForm& f) { QTest::keyClick(&f, Qt::Key_Escape); }, 2},
        {"title-bar close", [](TFileDownloadForm& f) { f.windowHandle()->close(); }, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(execWith(c.act), c.result);
    }
}

// While a copy runs the window's events are handled, and the progress shows over the window.
TEST(CopyProgressDialog, ShowsProgressAndKeepsEventsFlowing) {
    QWidget window;
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QtCopyProgress progress(&window, 0);
    bool timerRan = false;
    QTimer::singleShot(0, &window, [&timerRan] { timerRan = true; });
    progress.begin(QStringLiteral("big.wmv"), 4LL * 1024 * 1024 * 1024);
    EXPECT_TRUE(progress.advance(3LL * 1024 * 1024 * 1024));
    EXPECT_TRUE(timerRan);
    auto* dialog = window.findChild<QProgressDialog*>(QStringLiteral("CopyProgress"));
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->labelText(), QStringLiteral("big.wmv"));
    EXPECT_EQ(dialog->value(), 750);
    progress.end();
    EXPECT_EQ(window.findChild<QProgressDialog*>(), nullptr);
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
