#include "HyperLinkElement.h"

#include "OpenedUrls.h"

#include <QApplication>
#include <QLabel>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

using namespace AUILib;

namespace {

const QString kLink = QStringLiteral("<a href=\"https://help.example/updates\" style=\"color: #ff2189f7;\">Help</a>");

class HyperLinkTest : public testing::Test
{
protected:
    void SetUp() override
    {
        link->Create(&window);
        link->SetURL(L"https://help.example/updates");
        link->SetText(L"Help");
        link->OnLinkActivated.Add([this] { ++activations; });
        label()->setGeometry(5, 5, 120, 24);
        window.resize(300, 80);
    }

    QLabel* label() const { return static_cast<QLabel*>(link->GetPlatformHandle()); }

    // Repaints reach only a window that is exposed.
    void Show()
    {
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    static void Send(QWidget* widget, QEvent::Type type)
    {
        QEvent event(type);
        QApplication::sendEvent(widget, &event);
    }

    QWidget window;
    std::unique_ptr<HyperLinkElement> link = std::make_unique<HyperLinkElement>();
    int activations = 0;
};

} // namespace

TEST_F(HyperLinkTest, Defaults)
{
    HyperLinkElement fresh;
    EXPECT_EQ(fresh.GetControlType(), ControlType::HyperLinkElement);
    EXPECT_TRUE(fresh.GetUnderline());
    EXPECT_FALSE(fresh.GetVisited());
    EXPECT_EQ(fresh.GetLinkColor(), 0xff2189f7u);
    EXPECT_EQ(fresh.GetVisitedColor(), 0xff2189f7u);
    EXPECT_EQ(fresh.GetHoverColor(), 0xff2189f7u);
    EXPECT_EQ(fresh.GetURL(), L"");
    QWidget parent;
    fresh.Create(&parent);
    EXPECT_EQ(fresh.GetParentWindow(), nullptr) << "Create does not record the parent";
    EXPECT_EQ(fresh.GetPlatformHandle()->parentWidget(), &parent);
    EXPECT_FALSE(static_cast<QLabel*>(fresh.GetPlatformHandle())->openExternalLinks());
}

TEST_F(HyperLinkTest, MarkupAsShown)
{
    Show();
    EXPECT_EQ(label()->text(), kLink);

    link->SetUnderline(false);
    EXPECT_EQ(label()->text(), kLink) << "the underline alone redraws nothing";
    link->SetColors(0xff000001, 0x00aabbcc, 0xff000003);
    EXPECT_EQ(label()->text(), "<font color = \"#ff000001\">Help< / font>") << "not visited: the link colour";
    link->SetURL(L"");
    link->SetUnderline(true);
    link->SetVisited(true);
    EXPECT_EQ(label()->text(), "<a href=\" \" style=\"color: #  aabbcc;\">Help</a>");

    window.hide();
    Show();
    EXPECT_EQ(label()->text(), "<a href=\" \" style=\"color: #ff000001;\">Help</a>") << "shown in the link colour";
}

TEST_F(HyperLinkTest, HoverBelongsToTheElementUnderThePointer)
{
    HyperLinkElement other;
    other.Create(&window);
    other.SetText(L"Other");
    other.GetPlatformHandle()->setGeometry(5, 40, 120, 24);
    link->SetColors(0xff000001, 0xff000002, 0xff000003);
    other.SetColors(0xff000011, 0xff000012, 0xff000013);
    Show();

    Send(label(), QEvent::Enter);
    EXPECT_TRUE(label()->text().contains("#ff000003"));
    other.SetVisited(true);
    EXPECT_TRUE(static_cast<QLabel*>(other.GetPlatformHandle())->text().contains("#ff000012"))
        << "the other link is not under the pointer";
    link->SetVisited(true);
    EXPECT_TRUE(label()->text().contains("#ff000003")) << "still under the pointer";
    Send(label(), QEvent::Leave);
    EXPECT_TRUE(label()->text().contains("#ff000002"));
}

TEST_F(HyperLinkTest, AClickIsReportedOrOpensTheLink)
{
    OpenedUrls opened;
    Show();
    const QPoint onText(10, label()->height() / 2);
    QTest::mouseClick(label(), Qt::LeftButton, Qt::NoModifier, onText);
    EXPECT_EQ(activations, 1);
    EXPECT_TRUE(link->GetVisited());
    EXPECT_TRUE(opened.urls().isEmpty());

    link->SetbDefaultClickProcess(false);
    QTest::mouseClick(label(), Qt::LeftButton, Qt::NoModifier, onText);
    EXPECT_EQ(activations, 1);
    ASSERT_EQ(opened.urls().size(), 1);
    EXPECT_EQ(opened.urls().front(), QUrl("https://help.example/updates"));
}

TEST_F(HyperLinkTest, TheMnemonicIsReportedOrOpensTheLink)
{
    OpenedUrls opened;
    link->SetText(L"&Help");
    QShortcutEvent shortcut(QKeySequence(QStringLiteral("Alt+H")), 0);
    QApplication::sendEvent(label(), &shortcut);
    EXPECT_EQ(activations, 1);
    EXPECT_TRUE(opened.urls().isEmpty());

    link->SetbDefaultClickProcess(false);
    QApplication::sendEvent(label(), &shortcut);
    EXPECT_EQ(activations, 1);
    ASSERT_EQ(opened.urls().size(), 1);
    EXPECT_EQ(opened.urls().front(), QUrl("https://help.example/updates"));
}

TEST_F(HyperLinkTest, TheLabelOutlivesItsControl)
{
    Show();
    QPointer<QLabel> kept = label();
    link.reset();
    ASSERT_TRUE(kept);
    Send(kept, QEvent::Enter);
    QTest::mouseClick(kept, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    QShortcutEvent shortcut(QKeySequence(QStringLiteral("Alt+H")), 0);
    QApplication::sendEvent(kept, &shortcut);
    EXPECT_EQ(kept->text(), kLink) << "a plain label keeps what it shows";
    EXPECT_EQ(activations, 0);
}

TEST_F(HyperLinkTest, ANewTextOrAddressIsShownAtOnceAndTheShownMarkupIsNeverTakenAsText)
{
    Show();
    link->SetText(L"Old");
    EXPECT_EQ(label()->text(), "<a href=\"https://help.example/updates\" style=\"color: #ff2189f7;\">Old</a>");
    link->SetURL(L"https://help.example/new");
    EXPECT_EQ(label()->text(), "<a href=\"https://help.example/new\" style=\"color: #ff2189f7;\">Old</a>");

    link->SetText(L"");
    EXPECT_EQ(label()->text(), "<a href=\"https://help.example/new\" style=\"color: #ff2189f7;\"></a>");
    EXPECT_EQ(link->GetText(), L"");
    link->SetVisited(true);
    EXPECT_EQ(link->GetText(), L"") << "another redraw does not read the markup back";
}

TEST(HyperLinkElementFormTest, ATextGivenToTheLabelBeforeItIsDrawnBecomesTheLinksText)
{
    QWidget window;
    HyperLinkElement link;
    link.Create(&window);
    auto* label = static_cast<QLabel*>(link.GetPlatformHandle());
    label->setText(QStringLiteral("From the form"));
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_EQ(link.GetText(), L"From the form");
    EXPECT_EQ(label->text(), "<a href=\" \" style=\"color: #ff2189f7;\">From the form</a>");
}
