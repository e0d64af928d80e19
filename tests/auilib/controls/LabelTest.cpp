#include "Label.h"

#include "AgnosticUIException.h"
#include "ControlTestSupport.h"
#include "IsolatedEnvironment.h"
#include "OpenedUrls.h"
#include "PictureBytes.h"
#include "WaitBound.h"

#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QMovie>
#include <QShortcutEvent>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>

using namespace AUILib;

namespace {

const QString kEllipsis(QChar(0x2026));

class LabelTest : public testing::Test
{
protected:
    void SetUp() override
    {
        label = std::make_unique<Label>();
        label->Create(&window);
        label->OnLinkClicked.Add([this] { ++linkClicks; });
        widget()->setGeometry(0, 0, 200, 40);
        window.resize(220, 60);
        window.show();
    }

    QLabel* widget() const { return static_cast<QLabel*>(label->GetWndPtr()); }
    QString shown() const { return widget()->text(); }

    QPixmap shownPixmap() const { return ShownPixmap(*widget()); }

    QWidget window;
    std::unique_ptr<Label> label;
    int linkClicks = 0;
};

} // namespace

TEST_F(LabelTest, LaysTheTextOutAsAParagraphOnceALineHeightIsSet)
{
    EXPECT_EQ(label->GetControlType(), ControlType::Label);
    EXPECT_EQ(label->GetParentWindow(), &window);

    label->SetText(L"one two");
    EXPECT_EQ(shown(), "one two") << "without a line height the text goes in as it is";

    const QString paragraph("<p style=\"white-space: pre-wrap;%1 line-height:%2%\">one two</p>");
    label->SetLineSpacing(120);
    EXPECT_EQ(shown(), paragraph.arg(" text-align: left;").arg(120));
    label->SetTextAlign(TextAlign::Center);
    EXPECT_EQ(shown(), paragraph.arg(" text-align: center;").arg(120));
    label->SetTextAlign(TextAlign(7));
    EXPECT_EQ(shown(), paragraph.arg(" text-align: right;").arg(120));
    EXPECT_EQ(label->GetTextAlign(), TextAlign::Right);
    EXPECT_EQ(widget()->alignment(), Qt::AlignRight) << "the alignment replaces every flag";

    label->SetLineSpacing(0);
    label->SetTextAlign(TextAlign::Left);
    label->SetTextAlign(TextAlign::Center);
    EXPECT_EQ(shown(), paragraph.arg(" text-align: center;").arg(0)) << "one paragraph, however often laid out";
    EXPECT_EQ(label->GetText(), L"one two") << "the text as given, not the markup";

    label->SetLineSpacing(-1);
    EXPECT_EQ(shown(), "one two") << "no line height, no paragraph";
    EXPECT_EQ(label->GetText(), L"one two");

    label->SetText(std::wstring(L"ab\0cd", 5));
    EXPECT_EQ(label->GetText(), L"ab") << "a text ends at its NUL";
}

TEST_F(LabelTest, RichTextTurnsEachLineBreakCharacterIntoABreak)
{
    widget()->setTextFormat(Qt::RichText);
    label->SetLineSpacing(100);
    label->SetText(L"one\r\ntwo");
    EXPECT_EQ(shown(), "<p style=\"white-space: pre-wrap; text-align: left; line-height:100%\">one<br><br>two</p>");

    widget()->setTextFormat(Qt::AutoText);
    label->SetText(L"one\r\ntwo");
    EXPECT_TRUE(shown().contains("one\r\ntwo")) << "other formats keep the line breaks";
}

TEST_F(LabelTest, VerticalCentringAddsFlagsAndRemovesNone)
{
    label->SetTextAlign(TextAlign::Right);
    label->SetVCenter(true);
    EXPECT_TRUE(label->GetVCenter());
    label->SetVCenter(false);
    EXPECT_EQ(widget()->alignment(), Qt::AlignRight | Qt::AlignVCenter | Qt::AlignTop);
    EXPECT_TRUE(label->GetVCenter());
}

TEST_F(LabelTest, TruncationCutsToTheLinesBeforeTheFirstWideOnePlusTheWidth)
{
    const QFontMetrics metrics(widget()->font());
    const int width = 100;
    widget()->resize(width, 40);
    const QString narrow = "ab";
    const QString wide = QString(40, 'W');
    ASSERT_LT(metrics.boundingRect(narrow).width(), width);
    ASSERT_GE(metrics.boundingRect(wide).width(), width);

    struct Case
    {
        QString text;
        int elideWidth;
    };
    const Case cases[] = {
        {narrow + "\n" + wide, metrics.boundingRect(narrow).width() + width},
        {wide + "\n" + narrow, width},
        {narrow + "\r\n\r\n" + narrow + "\n" + wide,
         2 * metrics.boundingRect(narrow).width() + width}, // empty lines are skipped
        {QString(), width},
    };
    label->TruncateTextToEllipses(true);
    for (const Case& c : cases) {
        label->SetText(c.text.toStdWString());
        EXPECT_EQ(shown(), metrics.elidedText(c.text, Qt::ElideRight, c.elideWidth)) << c.text.toStdString();
        EXPECT_EQ(label->GetText(), c.text.toStdWString());
    }

    label->SetLineSpacing(110);
    label->SetText(wide.toStdWString());
    EXPECT_EQ(shown(), "<p style=\"white-space: pre-wrap; line-height:110%\">"
                           + metrics.elidedText(wide, Qt::ElideRight, width) + "</p>")
        << "the truncated paragraph has no alignment clause";
}

TEST_F(LabelTest, WordWrapAndTruncationExcludeEachOther)
{
    label->SetText(L"some text");
    label->SetWordWrap(true);
    EXPECT_TRUE(widget()->wordWrap());
    label->TruncateTextToEllipses(true);
    EXPECT_FALSE(widget()->wordWrap());
    label->SetWordWrap(true);
    EXPECT_TRUE(widget()->wordWrap());
    EXPECT_EQ(shown(), "some text") << "truncation is off again";
    EXPECT_EQ(label->GetText(), L"some text");
}

TEST_F(LabelTest, FourPartTextComposesOneAnchor)
{
    bool externalBefore = widget()->openExternalLinks();
    label->SetText(L"Go to ", L"the site", L"now", L"");
    EXPECT_EQ(shown(), "Go to <a style='color: #2189f7' href='#'>the site</a> now");
    EXPECT_TRUE(label->HasHyperlink());
    EXPECT_EQ(widget()->textFormat(), Qt::RichText);
    EXPECT_EQ(int(widget()->textInteractionFlags()), 13);
    EXPECT_EQ(widget()->openExternalLinks(), externalBefore) << "no target, no change";
    EXPECT_EQ(widget()->buddy(), widget());

    label->SetText(L"", L"x", L"", L"https://example.com/a");
    EXPECT_TRUE(widget()->openExternalLinks());

    label->SetText(L"a", L"", L"b", L"");
    EXPECT_FALSE(label->HasHyperlink());
}

TEST_F(LabelTest, LinkColoursRebuildThePlainTextAndRecolourATruncatedOne)
{
    label->SetText(L"Go\r\n", L"here", L" now", L"https://example.com/");
    label->SetHyperlinkColors(0xFF0000, 0x00FF00, 0x0000FF);
    EXPECT_EQ(shown(), "Go<br><br><a href='https://example.com/' style='color:#ff0000'>here</a> now")
        << "the link colour is used, the other two are not";

    label->SetHyperlinkColors(0x2189F7, 0, 0);
    label->TruncateTextToEllipses(true);
    label->SetText(L"Go ", L"here", std::wstring(80, L'x'), L"https://example.com/");
    ASSERT_TRUE(shown().contains("color: #2189f7")) << shown().toStdString();
    label->SetHyperlinkColors(0x00AA00, 0, 0);
    EXPECT_TRUE(shown().contains("<a style='color: #00aa00' href='https://example.com/'>here</a>")) << shown().toStdString();

    label->SetHyperlinkColors(0x0000AA, 0, 0);
    widget()->setText("<a href='x'>bare</a>");
    label->SetHyperlinkColors(0x123456, 0, 0);
    EXPECT_EQ(shown(), "<a href='x'>bare</a>") << "an anchor without a colour style is left alone";
}

TEST_F(LabelTest, LinkColoursKeepTheLineHeightAndOutlastLaterLayouts)
{
    label->SetLineSpacing(120);
    label->SetText(L"Go ", L"here", L" now", L"https://example.com/");
    label->SetHyperlinkColors(0xFF0000, 0, 0);
    EXPECT_TRUE(shown().startsWith("<p style=\"white-space: pre-wrap; text-align: left; line-height:120%\">"))
        << shown().toStdString();
    EXPECT_TRUE(shown().contains("color:#ff0000")) << shown().toStdString();
    label->SetTextAlign(TextAlign::Center);
    EXPECT_TRUE(shown().contains("color:#ff0000")) << "laid out again: " << shown().toStdString();
    EXPECT_FALSE(shown().contains("#2189f7")) << shown().toStdString();

    label->SetLineSpacing(-1);
    label->TruncateTextToEllipses(true);
    label->SetText(L"Go ", L"here", std::wstring(80, L'x'), L"https://example.com/");
    label->SetHyperlinkColors(0x00AA00, 0, 0);
    label->TruncateTextToEllipses(false);
    EXPECT_TRUE(shown().contains("#00aa00")) << "no longer cut: " << shown().toStdString();
    EXPECT_FALSE(shown().contains("#2189f7")) << shown().toStdString();
}

TEST_F(LabelTest, LinkColoursLeaveALabelWithoutALinkAsItIs)
{
    for (const bool truncated : {false, true}) {
        label->TruncateTextToEllipses(truncated);
        label->SetText(L"Hello", true);
        const QString before = shown();
        label->SetHyperlinkColors(0xFF0000, 0, 0);
        EXPECT_EQ(shown(), before) << "truncated " << truncated;
        EXPECT_EQ(label->GetText(), L"Hello") << "truncated " << truncated;
        EXPECT_FALSE(label->HasHyperlink());
    }
}

TEST_F(LabelTest, APlainTextOrAPictureForgetsTheLink)
{
    OpenedUrls opened;
    QShortcutEvent shortcut(QKeySequence("Alt+L"), 1);
    const QByteArray png = PictureBytes::Png(4, 4, Qt::red);
    const std::pair<const char*, std::function<void()>> replacements[] = {
        {"plain text", [this] { label->SetText(L"Hello", true); }},
        {"picture",
         [this, &png] {
             label->LoadPicture(reinterpret_cast<const unsigned char*>(png.constData()), png.size(), ImageTypes::PNG,
                                ScalePicture::Keep, 0);
         }},
        {"drawn text", [this] { label->DrawTxt(L"drawn"); }},
        {"cleared label", [this] { label->LoadPicture(nullptr, 0, ImageTypes::PNG, ScalePicture::Keep, 0); }},
    };
    for (const auto& [what, replace] : replacements) {
        for (const bool truncated : {false, true}) {
            label->TruncateTextToEllipses(truncated);
            label->SetText(L"see ", L"&link", L" here", L"http://example.invalid/");
            replace();
            const QString before = shown();
            label->SetHyperlinkColors(0xFF0000, 0, 0);
            EXPECT_EQ(shown(), before) << what << ", truncated " << truncated;
            EXPECT_FALSE(label->HasHyperlink()) << what << ", truncated " << truncated;
            QApplication::sendEvent(widget(), &shortcut);
            EXPECT_TRUE(opened.urls().isEmpty()) << what << ", truncated " << truncated;
        }
    }

    label->TruncateTextToEllipses(false);
    label->SetText(L"see ", L"link", L" here", L"http://example.invalid/");
    label->SetText(L"Hello", true);
    label->SetHyperlinkColors(0xFF0000, 0, 0);
    EXPECT_EQ(label->GetText(), L"Hello");
    label->SetLineSpacing(100);
    EXPECT_EQ(label->GetText(), L"Hello") << "laid out again, the text stays plain";
}

TEST_F(LabelTest, AnchorsSurviveTheEllipsis)
{
    const QFontMetrics metrics(widget()->font());
    const std::wstring before = L"Read the ";
    const std::wstring link = L"release notes";
    const std::wstring after = L"for everything that changed in this version";
    label->TruncateTextToEllipses(true);

    // Wide enough for the whole link, too narrow for what follows it.
    const QString plain = QString::fromStdWString(before + link + L" " + after);
    widget()->resize(metrics.horizontalAdvance(QString::fromStdWString(before + link) + " for ev"), 40);
    label->SetText(before, link, after, L"https://example.com/notes");
    QString expectedShown = metrics.elidedText(plain, Qt::ElideRight, widget()->width());
    ASSERT_TRUE(expectedShown.endsWith(kEllipsis));
    EXPECT_EQ(shown(), expectedShown.replace(QString::fromStdWString(before).size(), int(link.size()),
                                             "<a style='color: #2189f7' href='https://example.com/notes'>release "
                                             "notes</a>"));

    // So narrow that the ellipsis cuts the link itself: the anchor keeps the part that is shown.
    widget()->resize(metrics.horizontalAdvance(QString::fromStdWString(before) + "relea"), 40);
    label->TruncateTextToEllipses(false);
    label->TruncateTextToEllipses(true);
    const QString cut = metrics.elidedText(plain, Qt::ElideRight, widget()->width());
    ASSERT_TRUE(cut.endsWith(kEllipsis));
    const QString shownLink = cut.mid(int(before.size()), cut.size() - int(before.size()) - 1);
    ASSERT_FALSE(shownLink.isEmpty());
    EXPECT_EQ(shown(), QString::fromStdWString(before) + "<a style='color: #2189f7' href='https://example.com/notes'>"
                           + shownLink + "</a>" + kEllipsis);
}

TEST_F(LabelTest, ShortcutOpensTheTargetOrTellsTheHandlers)
{
    OpenedUrls opened;
    QShortcutEvent shortcut(QKeySequence("Alt+R"), 1);

    QApplication::sendEvent(widget(), &shortcut);
    EXPECT_EQ(linkClicks, 0) << "no link, nothing to do";

    label->SetText(L"", L"&Release notes", L"", L"https://example.com/notes");
    QApplication::sendEvent(widget(), &shortcut);
    ASSERT_EQ(opened.urls().size(), 1);
    EXPECT_EQ(opened.urls().first(), QUrl("https://example.com/notes"));
    EXPECT_EQ(linkClicks, 0);

    label->SetbDefaultClickProcess(true);
    QApplication::sendEvent(widget(), &shortcut);
    EXPECT_EQ(linkClicks, 1);
    EXPECT_EQ(opened.urls().size(), 1);

    emit widget()->linkActivated("https://example.com/notes");
    EXPECT_EQ(linkClicks, 2) << "a click on the link while the label does not open it";
}

TEST_F(LabelTest, DisabledTextIsPaintedLightened)
{
    label->SetText(L"\u2588\u2588\u2588\u2588\u2588\u2588\u2588\u2588");
    label->SetTextColor(0x000000);
    label->Enable(false, false);
    EXPECT_FALSE(widget()->isEnabled());
    const QImage disabled = widget()->grab().toImage();
    EXPECT_TRUE(disabled.pixelColor(disabled.width() / 8, disabled.height() / 2) == QColor(191, 191, 191));

    label->Enable(true, false);
    const QImage enabled = widget()->grab().toImage();
    EXPECT_TRUE(enabled.pixelColor(enabled.width() / 8, enabled.height() / 2) == QColor(0, 0, 0));
    EXPECT_EQ(label->GetTextColor(), 0);
    EXPECT_EQ(label->GetBackgroundColor(), -1);

    label->Enable(false, false);
    label->SetTextColor(0x000080);
    const QImage recoloured = widget()->grab().toImage();
    EXPECT_TRUE(recoloured.pixelColor(recoloured.width() / 8, recoloured.height() / 2) == QColor(191, 191, 223))
        << "a colour given while disabled is lightened too";
}

TEST_F(LabelTest, TheTextColourFollowsTheLabelsStateWhoeverChangesIt)
{
    const std::string black = "#000000";
    const std::string lightened = "#bfbfbf";
    auto shownColour = [this] {
        const QImage image = widget()->grab().toImage();
        return image.pixelColor(image.width() / 8, image.height() / 2).name().toStdString();
    };
    label->SetText(L"\u2588\u2588\u2588\u2588\u2588\u2588\u2588\u2588");

    window.setEnabled(false);
    label->SetTextColor(0x000000);
    EXPECT_EQ(shownColour(), lightened) << "a colour given inside a disabled window";
    window.setEnabled(true);
    EXPECT_EQ(shownColour(), black) << "the window enabled again";

    struct Step
    {
        const char* what;
        std::function<void()> act;
        std::string expected;
    };
    const Step steps[] = {
        {"the window disabled around the label", [this] { window.setEnabled(false); }, lightened},
        {"the label enabled on its own inside it", [this] { label->Enable(true, false); }, lightened},
        {"the window enabled", [this] { window.setEnabled(true); }, black},
        {"the label disabled on its own", [this] { label->Enable(false, false); }, lightened},
        {"the window disabled and enabled around it", [this] { window.setEnabled(false); window.setEnabled(true); },
         lightened},
        {"the label enabled by Qt directly", [this] { widget()->setEnabled(true); }, black},
        {"the label disabled by Qt directly", [this] { widget()->setEnabled(false); }, lightened},
    };
    for (const Step& step : steps) {
        step.act();
        EXPECT_EQ(shownColour(), step.expected) << step.what;
    }
}

TEST_F(LabelTest, FontFieldsOnlyChangeWhenGiven)
{
    FontData font;
    font.bold = 1;
    font.pointSize = 15;
    label->SetFont(font);
    FontData read = label->GetFont();
    EXPECT_EQ(read.bold, 1);
    EXPECT_EQ(read.italic, 0);
    EXPECT_NEAR(read.pointSize, 15, 0.5);

    FontData italicOnly;
    italicOnly.italic = 1;
    italicOnly.pointSize = -1.0;
    label->SetFont(italicOnly);
    read = label->GetFont();
    EXPECT_EQ(read.bold, 1) << "bold not given: kept";
    EXPECT_EQ(read.italic, 1);
    EXPECT_NEAR(read.pointSize, 15, 0.5);
}

namespace {

class LabelPictureTest : public LabelTest
{
protected:
    QString write(const QString& name, const QByteArray& bytes) const
    {
        const QString path = env.root() + "/" + name;
        IsolatedEnvironment::writeFile(path, bytes);
        return path;
    }

    Size load(const QByteArray& bytes, ImageTypes type, ScalePicture scale = ScalePicture::Keep, int size = 0)
    {
        return label->LoadPicture(reinterpret_cast<const unsigned char*>(bytes.constData()), bytes.size(), type, scale,
                                  size);
    }

    int ratio() const { return widget()->devicePixelRatio(); }

    IsolatedEnvironment env;
};

} // namespace

TEST_F(LabelPictureTest, OnlyAnIcoSuffixTakesTheIconBranch)
{
    // The icon branch picks the 16-pixel image of the file; a plain load takes its first image.
    const QByteArray icon = PictureBytes::Ico({32, 16});
    const struct
    {
        const char* name;
        int width;
    } cases[] = {
        {"a.ico", 16},
        {"b.Ico", 16},
        {"c.ICO", 16},
        {"a.b.ico", 32},
    };
    for (const auto& c : cases) {
        const Size shownSize = label->LoadPicture(write(c.name, icon).toStdWString(), ScalePicture::Keep, 16);
        EXPECT_EQ(shownSize.width, c.width) << c.name;
        EXPECT_FALSE(shownPixmap().isNull()) << c.name;
    }
    EXPECT_EQ(shownPixmap().devicePixelRatio(), ratio()) << "a picture takes the widget's ratio";
}

TEST_F(LabelPictureTest, PicturesAreCentredAndScaledToTheControl)
{
    const Size size = load(PictureBytes::Png(10, 10, Qt::red), ImageTypes::PNG, ScalePicture(2));
    EXPECT_EQ(size.width, widget()->width());
    EXPECT_EQ(widget()->alignment(), Qt::AlignHCenter | Qt::AlignVCenter);
    EXPECT_EQ(shownPixmap().width(), widget()->width());

    const Size icon = load(PictureBytes::Ico({48, 24}), ImageTypes::ICO, ScalePicture::Keep, 0);
    EXPECT_EQ(icon.width, 24) << "size 0 asks for the smaller side of the label, 40: the widest icon below it";
}

TEST_F(LabelPictureTest, BadPictureBytesLeaveTheLabelAlone)
{
    const QByteArray png = PictureBytes::Png(8, 8, Qt::blue);
    ASSERT_EQ(load(png, ImageTypes::PNG).width, 8);
    const qint64 shownKey = shownPixmap().cacheKey();

    const auto* data = reinterpret_cast<const unsigned char*>(png.constData());
    EXPECT_EQ(label->LoadPicture(data, -1, ImageTypes::PNG, ScalePicture::Keep, 0).width, 0);
    EXPECT_EQ(label->LoadPicture(data, 0, ImageTypes::PNG, ScalePicture::Keep, 0).width, 0);
    EXPECT_EQ(load("not a picture", ImageTypes::PNG).width, 0);
    EXPECT_EQ(load("not a picture", ImageTypes::ICO).width, 0);
    EXPECT_EQ(load("GIF89a broken", ImageTypes::GIF).width, 0);
    EXPECT_EQ(label->LoadPicture(write("missing.gif", {}).toStdWString() + L"x", ScalePicture::Keep, 0).width, 0);
    EXPECT_EQ(label->LoadPicture(L"/nonexistent/a.png", ScalePicture::Keep, 0).width, 0);
    EXPECT_EQ(shownPixmap().cacheKey(), shownKey);

    label->LoadPicture(nullptr, 100, ImageTypes::PNG, ScalePicture::Keep, 0);
    EXPECT_TRUE(shownPixmap().isNull()) << "null data clears the label";
}

TEST_F(LabelPictureTest, GifPlaysOnRequestAndGoesWhenReplaced)
{
    EXPECT_FALSE(label->PlayGif()) << "nothing to play";
    ASSERT_GT(load(PictureBytes::TwoFrameGif(), ImageTypes::GIF, ScalePicture::Stretch).width, 0);
    QPointer<QMovie> first = widget()->movie();
    ASSERT_TRUE(first);
    EXPECT_EQ(first->state(), QMovie::NotRunning) << "shown, not yet playing";
    EXPECT_TRUE(label->PlayGif());
    EXPECT_EQ(first->state(), QMovie::Running);
    EXPECT_TRUE(QTest::qWaitFor([&] { return first->currentFrameNumber() == 1; }, kWaitBoundMs));

    const QString path = write("second.gif", PictureBytes::TwoFrameGif());
    ASSERT_GT(label->LoadPicture(path.toStdWString(), ScalePicture::Keep, 0).width, 0);
    QPointer<QMovie> second = widget()->movie();
    EXPECT_TRUE(first.isNull()) << "the replaced movie is freed";
    ASSERT_TRUE(second);
    EXPECT_TRUE(label->PlayGif());
    QTest::qWait(50);
    EXPECT_TRUE(label->StopGif());

    load(PictureBytes::Png(4, 4, Qt::red), ImageTypes::PNG);
    EXPECT_TRUE(second.isNull()) << "a still picture replaces the movie";
    EXPECT_FALSE(label->PlayGif());

    load(PictureBytes::TwoFrameGif(), ImageTypes::GIF);
    QPointer<QMovie> third = widget()->movie();
    label->PlayGif();
    delete widget();
    EXPECT_TRUE(third.isNull()) << "the movie goes with the widget";
}

TEST_F(LabelPictureTest, DrawnTextFillsTheLabel)
{
    label->DrawTxt(L"drawn");
    const QPixmap drawn = shownPixmap();
    EXPECT_EQ(drawn.size(), widget()->size());

    widget()->resize(0, 20);
    label->DrawTxt(L"nowhere to draw");
    EXPECT_EQ(shownPixmap().cacheKey(), drawn.cacheKey()) << "an empty label draws nothing";
}

TEST_F(LabelPictureTest, APictureOutlastsTheLayoutsAfterIt)
{
    const std::pair<const char*, std::function<void()>> pictures[] = {
        {"picture", [this] { load(PictureBytes::Png(4, 4, Qt::red), ImageTypes::PNG); }},
        {"movie", [this] { load(PictureBytes::TwoFrameGif(), ImageTypes::GIF); }},
        {"drawn text", [this] { label->DrawTxt(L"drawn"); }},
    };
    const std::pair<const char*, std::function<void()>> layouts[] = {
        {"alignment", [this] { label->SetTextAlign(TextAlign::Left); }},
        {"line spacing", [this] { label->SetLineSpacing(150); }},
        {"truncation", [this] { label->TruncateTextToEllipses(true); }},
        {"word wrap", [this] { label->SetWordWrap(true); }},
        {"link colour", [this] { label->SetHyperlinkColors(0xFF0000, 0, 0); }},
    };
    for (const auto& [picture, show] : pictures) {
        for (const auto& [layout, layOut] : layouts) {
            label->SetWordWrap(false);
            label->TruncateTextToEllipses(true);
            label->SetLineSpacing(120);
            label->SetText(L"old text", true);
            show();
            layOut();
            EXPECT_TRUE(!shownPixmap().isNull() || widget()->movie()) << picture << ", " << layout;
            EXPECT_EQ(label->GetText(), L"") << picture << ", " << layout;
        }
    }

    label->SetText(L"old text", true);
    label->LoadPicture(nullptr, 0, ImageTypes::PNG, ScalePicture::Keep, 0);
    label->SetTextAlign(TextAlign::Center);
    EXPECT_FALSE(shown().contains("old text")) << "a cleared label stays empty";
    label->SetText(L"new text", true);
    EXPECT_TRUE(shown().contains("new text"));
    EXPECT_TRUE(shownPixmap().isNull()) << "a text takes the picture's place";
}

TEST_F(LabelTest, OnceTheWidgetIsGoneItsOwnOperationsAreNeutral)
{
    label->SetText(L"text");
    delete widget();
    EXPECT_EQ(label->GetWndPtr(), nullptr);
    EXPECT_EQ(label->GetText(), L"text");
    label->SetText(L"more");
    label->SetText(L"a", L"b", L"c", L"d");
    label->SetLineSpacing(100);
    label->SetTextAlign(TextAlign::Center);
    label->TruncateTextToEllipses(true);
    label->SetWordWrap(true);
    label->SetHyperlinkColors(1, 2, 3);
    label->SetTextColor(5);
    label->SetToolTip(L"tip");
    label->DrawTxt(L"x");
    label->SetBorder();
    EXPECT_FALSE(label->HasHyperlink());
    EXPECT_EQ(label->GetTextAlign(), TextAlign::Left);
    EXPECT_FALSE(label->GetVCenter());
    EXPECT_EQ(label->GetTextColor(), -1);
    EXPECT_EQ(label->GetToolTip(), L"");
    EXPECT_DOUBLE_EQ(label->GetFont().pointSize, -1.0);
    EXPECT_EQ(label->GetFont().bold, -1);
    EXPECT_FALSE(label->PlayGif());
    EXPECT_EQ(label->LoadPicture(L"x.png", ScalePicture::Keep, 0).width, 0);
    EXPECT_THROW(label->IdealSize(), AgnosticUIException);
}

TEST_F(LabelTest, WidgetOutlivingItsLabelIsAPlainLabel)
{
    label->SetText(L"", L"link", L"", L"");
    QPointer<QLabel> orphan = widget();
    label.reset();
    ASSERT_TRUE(orphan);
    QShortcutEvent shortcut(QKeySequence("Alt+L"), 1);
    QApplication::sendEvent(orphan, &shortcut);
    emit orphan->linkActivated("#");
    EXPECT_EQ(linkClicks, 0);
}
