#include "PromptsPopup.h"

#include "ChildDialog.h"
#include "PictureBytes.h"
#include "WaitBound.h"

#include <QAbstractEventDispatcher>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

using namespace AUILib;

namespace {

class PromptsPopupTest : public testing::Test
{
protected:
    void SetUp() override
    {
        window.setGeometry(100, 100, 300, 200);
        anchor = new QWidget(&window);
        anchor->setGeometry(20, 30, 100, 20);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    QLabel* Label() const { return qobject_cast<QLabel*>(popup.GetWidget()); }
    QRect Screen() const { return QGuiApplication::primaryScreen()->geometry(); }

    int RemainingMs() const
    {
        const QList<QAbstractEventDispatcher::TimerInfo> timers =
            QAbstractEventDispatcher::instance()->registeredTimers(Label());
        return timers.size() == 1 ? QAbstractEventDispatcher::instance()->remainingTime(timers.first().timerId) : -1;
    }

    QWidget window;
    QWidget* anchor = nullptr;
    PromptsPopup popup;
};

} // namespace

TEST_F(PromptsPopupTest, NothingHappensWithoutAnAnchor)
{
    EXPECT_FALSE(popup.Create(nullptr, L"text", 0, 1000, false));
    popup.Show(true, 10, 10);
    popup.SetTitle(L"title");
    EXPECT_FALSE(popup.SetTitleIcon(BalloonTipIconType::Information));
    EXPECT_FALSE(popup.IsDisplayed());
    EXPECT_EQ(popup.GetWidget(), nullptr);
}

TEST_F(PromptsPopupTest, AppearsBelowAndRightOfTheAnchor)
{
    ASSERT_TRUE(popup.Create(anchor, L"Hello", 0, -1, false));
    popup.Show(true, -1, -1);
    ASSERT_TRUE(popup.IsDisplayed());
    EXPECT_EQ(Label()->pos(), anchor->mapToGlobal(QPoint(0, 0)) + QPoint(2, 21));
    EXPECT_GT(RemainingMs(), 40000) << "-1 stands for 50 seconds";

    popup.Show(true, 200, 150);
    EXPECT_EQ(Label()->pos(), anchor->mapToGlobal(QPoint(0, 0)) + QPoint(2, 21)) << "a shown pop-up stays put";
}

TEST_F(PromptsPopupTest, StaysOnTheScreenNearItsEdges)
{
    ASSERT_TRUE(popup.Create(anchor, L"A message of some length", 0, 5000, false));
    const QRect screen = Screen();

    popup.Show(true, screen.right() - 5, 50);
    const QSize size = Label()->size();
    EXPECT_EQ(Label()->pos(), QPoint(screen.right() - 5 - size.width() - 2, 50 + 21)) << "flipped to the left";
    popup.Show(false, -1, -1);

    popup.Show(true, 50, screen.bottom() - 5);
    EXPECT_EQ(Label()->pos(), QPoint(52, screen.bottom() - 5 - size.height() - 3)) << "flipped above";
    popup.Show(false, -1, -1);

    popup.Show(true, screen.right() - 5, screen.bottom() - 5);
    EXPECT_EQ(Label()->pos(), QPoint(screen.right() - 5 - size.width() - 2, screen.bottom() - 5 - size.height() - 3));
    popup.Show(false, -1, -1);

    window.move(screen.left() - 200, screen.top() - 150);
    popup.Show(true, -1, -1);
    EXPECT_EQ(Label()->pos(), screen.topLeft()) << "never left of or above the screen";
}

TEST_F(PromptsPopupTest, SecondShowChangesContentButNotPlaceOrTimer)
{
    ASSERT_TRUE(popup.Create(anchor, L"first", 0, 1000, false));
    popup.Show(true, 50, 60);
    const QPoint place = Label()->pos();
    QTest::qWait(300);
    popup.Create(anchor, L"second, longer text", 0, 1000, false);
    popup.Show(true, 400, 300);
    EXPECT_EQ(Label()->pos(), place);
    EXPECT_EQ(Label()->text(), QStringLiteral("second, longer text"));
    EXPECT_LT(RemainingMs(), 850) << "the timer was not restarted";
}

TEST_F(PromptsPopupTest, HidesAfterItsTimeout)
{
    ASSERT_TRUE(popup.Create(anchor, L"brief", 0, 30, false));
    popup.Show(true, -1, -1);
    ASSERT_TRUE(popup.IsDisplayed());
    QTRY_VERIFY_WITH_TIMEOUT(!popup.IsDisplayed(), kWaitBoundMs);
    // Hidden by its timer it stays hidden when the window repaints.
    window.repaint();
    EXPECT_FALSE(popup.IsDisplayed());
}

TEST_F(PromptsPopupTest, ClosesOnInputOnlyWhenAskedTo)
{
    ASSERT_TRUE(popup.Create(anchor, L"type here", 0, 5000, false));
    popup.Show(true, -1, -1);
    QTest::keyClick(anchor, Qt::Key_A);
    EXPECT_TRUE(popup.IsDisplayed());

    popup.Create(anchor, L"type here", 0, 5000, true);
    QTest::keyClick(anchor, Qt::Key_A);
    EXPECT_FALSE(popup.IsDisplayed());
}

TEST_F(PromptsPopupTest, ComesBackOnRepaintUntilTheWindowIsActivated)
{
    ASSERT_TRUE(popup.Create(anchor, L"sticky", 0, 5000, false));
    popup.Show(true, -1, -1);
    Label()->hide();
    window.repaint();
    EXPECT_TRUE(popup.IsDisplayed());

    QEvent activate(QEvent::WindowActivate);
    QCoreApplication::sendEvent(&window, &activate);
    EXPECT_FALSE(popup.IsDisplayed());
    window.repaint();
    EXPECT_FALSE(popup.IsDisplayed());
}

TEST_F(PromptsPopupTest, FollowsTheWindowWhenItMoves)
{
    ASSERT_TRUE(popup.Create(anchor, L"moving", 0, 5000, false));
    popup.Show(true, -1, -1);
    const QPoint before = Label()->pos();
    window.move(window.pos() + QPoint(15, 25));
    EXPECT_EQ(Label()->pos(), before + QPoint(15, 25));
}

TEST_F(PromptsPopupTest, ContentFormsForTitleAndIcon)
{
    ASSERT_TRUE(popup.Create(anchor, L"line one\nline <i>two</i>", 0, 5000, false));
    popup.Show(true, -1, -1);
    EXPECT_EQ(Label()->text(), QStringLiteral("line one\nline <i>two</i>")) << "plain text as it is";
    popup.Show(false, -1, -1);

    ASSERT_TRUE(popup.SetTitleIcon(BalloonTipIconType::Warning));
    popup.Show(true, -1, -1);
    QString html = Label()->text();
    EXPECT_TRUE(html.contains("<b>line one<br>line <i>two</i></b> ")) << html.toStdString();
    EXPECT_TRUE(html.contains("p.small2 { margin: 5px; color: #4A5458; font-size: 12px; font-weight:normal; }"));
    EXPECT_TRUE(html.contains("<img height=\"16\" src=\"data:image/png;base64, iVBOR")) << "a PNG";
    EXPECT_TRUE(Label()->wordWrap()) << "rich text wraps";
    popup.Show(false, -1, -1);

    popup.SetTitle(L"Title");
    popup.SetTitle(L"");
    popup.Show(true, -1, -1);
    html = Label()->text();
    EXPECT_TRUE(html.contains("<p class=\"small\"><b>Title</b> </p>")) << "an empty title keeps the old one";
    EXPECT_TRUE(html.contains("align=\"middle\" valign=\"middle\""));
    EXPECT_TRUE(html.contains("<td></td><td><p class=\"small2\"><b>line one<br>line <i>two</i></b></p>"));
    EXPECT_FALSE(html.contains("font-size: 18px; font-weight:bold;")) << "the title keeps the paragraph's weight";
    popup.Show(false, -1, -1);

    EXPECT_FALSE(popup.SetTitleIcon(static_cast<BalloonTipIconType>(9)));
    popup.Show(true, -1, -1);
    html = Label()->text();
    EXPECT_FALSE(html.contains("<img"));
    EXPECT_TRUE(html.contains("<b>line one\nline <i>two</i></b>")) << "line feeds stay under a title alone";
    EXPECT_TRUE(html.contains("color: #3E75C7; font-size: 18px; font-weight:bold;"));
}

TEST_F(PromptsPopupTest, IconFromBytesOrFile)
{
    ASSERT_TRUE(popup.Create(anchor, L"icon", 0, 5000, false));
    const QByteArray png = PictureBytes::Png(16, 16, Qt::green);
    const auto* data = reinterpret_cast<const unsigned char*>(png.constData());
    EXPECT_FALSE(popup.SetTitleIcon(nullptr, 10));
    EXPECT_FALSE(popup.SetTitleIcon(data, 0));
    EXPECT_FALSE(popup.SetTitleIcon(data, -1)) << "never read as a huge length";
    EXPECT_FALSE(popup.SetTitleIcon(data, 8)) << "a truncated picture";
    popup.Show(true, -1, -1);
    EXPECT_FALSE(Label()->text().contains("<img"));
    popup.Show(false, -1, -1);

    EXPECT_TRUE(popup.SetTitleIcon(data, png.size()));
    popup.Show(true, -1, -1);
    EXPECT_TRUE(Label()->text().contains("<img"));
    popup.Show(false, -1, -1);

    PromptsPopup fromFile;
    fromFile.Create(anchor, L"file", 0, 5000, false);
    fromFile.SetTitleIcon(std::wstring(L"/no/such/picture.png"));
    fromFile.Show(true, -1, -1);
    EXPECT_TRUE(qobject_cast<QLabel*>(fromFile.GetWidget())->text().contains("<img"))
        << "a file that does not load still shows its (empty) icon";
}

TEST_F(PromptsPopupTest, GoesAwayWithItsAnchor)
{
    ASSERT_TRUE(popup.Create(anchor, L"text", 0, 5000, false));
    popup.Show(true, -1, -1);
    delete anchor;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(popup.GetWidget(), nullptr);
    popup.Show(true, -1, -1);
    EXPECT_FALSE(popup.IsDisplayed());
}

TEST_F(PromptsPopupTest, PaintsABalloonWithItsArrow)
{
    ASSERT_TRUE(popup.Create(anchor, L"Balloon", 0, 5000, false));
    popup.Show(true, -1, -1);
    const QImage image = Label()->grab().toImage();
    const qreal ratio = image.devicePixelRatio();
    const QColor base = Label()->palette().color(QPalette::Base);
    auto at = [&](int x, int y) { return image.pixelColor(qRound(x * ratio), qRound(y * ratio)); };
    EXPECT_EQ(at(10, 13), base) << "inside the arrow";
    EXPECT_EQ(at(Label()->width() / 2, Label()->height() - 3), base) << "inside the body";
    EXPECT_EQ(at(30, 8).alpha(), 0) << "beside the arrow";
}

TEST(BalloonTip, ControlShowsAndHidesItsBalloonTip)
{
    QWidget window;
    ChildDialog control;
    control.Create(&window);
    control.MoveWindow(10, 10, 80, 30, false);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    EXPECT_TRUE(control.ShowBalloonTipEx(L"Title", L"Check this", BalloonTipIconType::Information, false, false));
    EXPECT_TRUE(control.IsBalloonTipDisplayed());
    EXPECT_TRUE(control.HideBalloonTipEx());
    EXPECT_FALSE(control.IsBalloonTipDisplayed());
    const unsigned char junk[] = {1, 2, 3};
    EXPECT_TRUE(control.ShowBalloonTipEx(L"bytes", junk, -5, false, true));
    EXPECT_TRUE(control.IsBalloonTipDisplayed());

    const std::shared_ptr<PromptsPopup> prompt = control.InsertPromptsPopup(L"prompt", 0, 5000, false);
    control.ShowPromptsPopup(prompt, true);
    EXPECT_TRUE(prompt->IsDisplayed());
    control.ShowPromptsPopup(prompt, false);
    EXPECT_FALSE(prompt->IsDisplayed());
    control.ShowPromptsPopup(nullptr, true);
}
