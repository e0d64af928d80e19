#include "OpenedUrls.h"
#include "app/CDlgComponentFound.h"
#include "app/RedirectAddresses.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QTextBlock>
#include <QTextDocument>
#include <QUrlQuery>

#include <gtest/gtest.h>

namespace {

const char* const kOcrText = "This component will allow you to convert scanned or image-based content into "
                             "selectable, searchable, and editable text.";
const char* const kPdfAText =
    "This component will allow you to check for compliance with PDF industry standards such as PDF/A. ";

ComponentInfo componentInfo(const QString& components, const QString& version = "12.1.3")
{
    return ComponentInfo{"Kelvrin PDF Reader", version, components, "en-US", "Business"};
}

std::string labelText(const QDialog& dialog, const char* name)
{
    const auto* label = dialog.findChild<QLabel*>(name);
    return label ? label->text().toStdString() : std::string("<no ") + name + ">";
}

// Every link target in a label's rich text, in order of appearance.
QStringList linkTargets(const QString& html)
{
    QTextDocument document;
    document.setHtml(html);
    QStringList targets;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment) {
            const QString href = fragment.fragment().charFormat().anchorHref();
            if (!href.isEmpty() && (targets.isEmpty() || targets.last() != href))
                targets.append(href);
        }
    }
    return targets;
}

struct HeadlineCase {
    const char* components;
    const char* headline;
    const char* description;
};

TEST(ComponentFoundDialog, NamesAndDescribesTheComponents)
{
    const HeadlineCase cases[] = {
        {"OCR_ru_ru,OCR_zh_cn", "The OCR_ru-RU/OCR_zh-CN component needs to be installed.", kOcrText},
        {"A,B,C,D,E,F,G", "The A/B/C/D/E(7 in total) components need to be installed.", ""},
        {"OCR_ru_ru,B,C,D,E,OCR_uk_uk", "The OCR_ru-RU/B/C/D/E(6 in total) components need to be installed.", kOcrText},
        // A name is never read as a marker of the pattern.
        {"x%d,%s,C,D,E,F", "The x%d/%s/C/D/E(6 in total) components need to be installed.", ""},
        {"A,B,C,D,E", "The A/B/C/D/E component needs to be installed.", ""},
        {"A,,B", "The A/B component needs to be installed.", ""},
        {"pdf/a", "The PDF/AEX component needs to be installed.", kPdfAText},
        {"PDF/A-3", "The PDF/AEX component needs to be installed.", kPdfAText},
        {"PDF/A-3,OCR_ru_ru", "The PDF/A-3/OCR_ru-RU component needs to be installed.", kOcrText},
        {"xPDF/A", "The xPDF/A component needs to be installed.", ""},
        {"Pdf/A", "The Pdf/A component needs to be installed.", ""},
        {"ocr_ru_ru", "The ocr_ru_ru component needs to be installed.", ""},
        {"Dwg3DPlugins", "You need to install the 3D related plugin. ",
         "This plugin can be used to display the 3D objects. "},
        {"dwg3dplugins", "You need to install the 3D related plugin. ",
         "This plugin can be used to display the 3D objects. "},
        {"sd", "The PDF Export component needs to be installed.",
         "This component will allow you to export PDF files to Word, Excel, PowerPoint, and HTML formats. "},
        {"KELVRIN SPELL CHECK LANGUAGE", "The Spell Check component needs to be installed.",
         "This component will help to find any spelling errors and highlight them with squiggly lines. "},
        {"firefox plugin", "The Firefox Plugin component needs to be installed.", ""},
        {"FILEOPEN", "The FileOpen component needs to be installed.",
         "This component will allow you to access documents encrypted with the FileOpen software. "},
        {"<b>Stamp</b>", "The <b>Stamp</b> component needs to be installed.", ""},
    };
    for (const HeadlineCase& c : cases) {
        SCOPED_TRACE(c.components);
        ComponentInfo info = componentInfo(c.components);
        const CDlgComponentFound dialog(info, nullptr);
        EXPECT_EQ(labelText(dialog, "label1"), c.headline);
        EXPECT_EQ(labelText(dialog, "label2"), c.description);
    }
}

TEST(ComponentFoundDialog, ShowsNamesAsPlainText)
{
    ComponentInfo info = componentInfo("<a href='https://elsewhere/'>Stamp</a>");
    const CDlgComponentFound dialog(info, nullptr);
    EXPECT_EQ(dialog.findChild<QLabel*>("label1")->textFormat(), Qt::PlainText);
}

TEST(ComponentFoundDialog, FormTextsIconAndButtons)
{
    ComponentInfo info = componentInfo("FileOpen");
    CDlgComponentFound dialog(info, nullptr);

    EXPECT_EQ(dialog.objectName(), "DlgComponentFound");
    EXPECT_EQ(dialog.windowTitle(), "Download Components");
    EXPECT_EQ(dialog.minimumSize(), QSize(530, 260));
    EXPECT_EQ(dialog.maximumSize(), QSize(530, 260));
    EXPECT_EQ(labelText(dialog, "label3"),
              "Please click Yes to download and install this component. You can also download it at a later time "
              "from the following link. After downloading, you can install it from 'Plug-in Management-> Install "
              "Plugin' on the Help tab. ");
    EXPECT_EQ(labelText(dialog, "label5"), "Note: Downloading the update requires an Internet connection.");

    const QPixmap icon = dialog.findChild<QLabel*>("label_6")->property("pixmap").value<QPixmap>();
    ASSERT_FALSE(icon.isNull()) << "the icon resource is missing";
    EXPECT_EQ(icon.size(), QSize(32, 32));

    auto* buttons = dialog.findChild<QDialogButtonBox*>("buttonBox");
    EXPECT_EQ(buttons->standardButtons(), QDialogButtonBox::Yes | QDialogButtonBox::No);
    buttons->button(QDialogButtonBox::Yes)->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    buttons->button(QDialogButtonBox::No)->click();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
}

TEST(ComponentFoundDialog, LinkOpensTheAddonsAddressForTheReaderVersion)
{
    for (const char* version : {"12.1.3", "12", "1'><a href='https://elsewhere/'>x</a>.2", "1\" onclick=\"x.2"}) {
        SCOPED_TRACE(version);
        ComponentInfo info = componentInfo("FileOpen", version);
        const CDlgComponentFound dialog(info, nullptr);
        const auto* link = dialog.findChild<QLabel*>("label4");
        EXPECT_TRUE(link->openExternalLinks());

        // No bundle beside the test program: no package type.
        const QString address = componentAddonsAddress(QString(), "en-US", version, "Business");
        EXPECT_EQ(linkTargets(link->text()), QStringList{address});
        QTextDocument shown;
        shown.setHtml(link->text());
        EXPECT_EQ(shown.toPlainText().toStdString(), "https://www.kelvrin.com/products/addons/");
    }
    ComponentInfo usual = componentInfo("FileOpen", "12.1.3");
    const CDlgComponentFound dialog(usual, nullptr);
    EXPECT_EQ(labelText(dialog, "label4"),
              "<a style='color: #2189F7;' href='https://redirect.kelvrin.com/redirect.php?do=redirect"
              "&title=reader4mac_addons&product=Kelvrin Reader for Mac&language=en-US&version=12.1.3"
              "&edition=Business&utm_source=client-app&utm_medium=button&utm_campaign=durnismac12.1'>"
              "https://www.kelvrin.com/products/addons/</a>");
}

// Clicks the first point of `label` over which it shows the link cursor; false when there is none.
bool clickLink(QLabel* label)
{
    for (int y = 0; y < label->height(); y += 2) {
        for (int x = 0; x < label->width(); x += 4) {
            const QPoint point(x, y);
            QMouseEvent move(QEvent::MouseMove, point, Qt::NoButton, Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(label, &move);
            if (label->cursor().shape() != Qt::PointingHandCursor)
                continue;
            QMouseEvent press(QEvent::MouseButtonPress, point, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
            QMouseEvent release(QEvent::MouseButtonRelease, point, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(label, &press);
            QApplication::sendEvent(label, &release);
            return true;
        }
    }
    return false;
}

TEST(ComponentFoundDialog, ClickedLinkOpensTheWholeAddress)
{
    const QString version = "1'><a href='https://elsewhere/'>x</a>.2";
    ComponentInfo info = componentInfo("FileOpen", version);
    CDlgComponentFound dialog(info, nullptr);
    dialog.show();
    OpenedUrls opened;

    ASSERT_TRUE(clickLink(dialog.findChild<QLabel*>("label4")));
    ASSERT_EQ(opened.urls().size(), 1);
    EXPECT_EQ(opened.urls()[0].toString().toStdString(),
              QUrl(componentAddonsAddress(QString(), "en-US", version, "Business")).toString().toStdString());
    EXPECT_EQ(QUrlQuery(opened.urls()[0]).queryItemValue("version", QUrl::FullyDecoded), version);
}

} // namespace
