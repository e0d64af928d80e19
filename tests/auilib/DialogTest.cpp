#include "Dialog.h"

#include "AgnosticUIException.h"
#include "Button.h"
#include "ButtonBox.h"
#include "ChildDialog.h"
#include "DialogImpl.h"
#include "FormDialogFixture.h"
#include "ModalDriver.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

using namespace AUILib;

namespace {

// The library's message of what `action` throws (its text ends with the quoted message).
std::wstring ExceptionMessage(const std::function<void()>& action)
{
    try {
        action();
    } catch (const AgnosticUIException& exception) {
        const QString text = QString::fromUtf8(exception.what());
        return text.mid(text.indexOf(QLatin1Char('"')) + 1).toStdWString();
    }
    return L"no exception";
}

QPushButton* PushButtonOf(const std::shared_ptr<Button>& button)
{
    return button ? qobject_cast<QPushButton*>(button->GetBaseImpl()->GetWidget()) : nullptr;
}

} // namespace

TEST_F(FormDialogTest, BuildsTheFormsControls)
{
    Dialog dialog(PlaceForm("formdialog.ui"));
    QWidget* window = dialog.GetWndPtr();
    ASSERT_TRUE(window);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Form Title")) << "no translation: the form's own text";
    EXPECT_EQ(dialog.GetUserData(), reinterpret_cast<std::uint64_t>(window));
    EXPECT_EQ(dialog.GetControlType(), ControlType::Dialog);

    auto* open = dialog.GetControlPtr<Button*>(L"btnOpen");
    ASSERT_TRUE(open);
    EXPECT_EQ(open->GetText(), L"Open");
    EXPECT_EQ(open->GetName(), L"btnOpen");
    EXPECT_TRUE(dialog.GetControlPtr<ChildDialog*>(L"page"));
    EXPECT_FALSE(dialog.GetControlPtr<ChildDialog*>(L"btnOpen")) << "another class";
    EXPECT_TRUE(dialog.GetControlPtr<Button*>(L"btnInner"));
    EXPECT_FALSE(dialog.GetElementByName(L"calendar")) << "an unknown class is left out";
    EXPECT_FALSE(window->findChild<QWidget*>(QStringLiteral("calendar")));
    EXPECT_FALSE(dialog.GetElementByName(L"btnopen"));

    for (QWidget* widget : window->findChildren<QWidget*>())
        EXPECT_TRUE(widget->hasMouseTracking()) << widget->objectName().toStdString();

    auto* box = dialog.GetControlPtr<ButtonBox*>(L"buttonBox");
    ASSERT_TRUE(box);
    const std::shared_ptr<Button> cancel = box->GetButton(QDialogButtonBox::Cancel);
    ASSERT_TRUE(cancel);
    EXPECT_EQ(box->GetButton(QDialogButtonBox::Cancel), cancel) << "the same Button each time";
    EXPECT_FALSE(box->GetButton(QDialogButtonBox::Retry));
    EXPECT_EQ(PushButtonOf(box->GetButton(QDialogButtonBox::Ok))->text(), QStringLiteral("OK"));
    EXPECT_EQ(PushButtonOf(cancel)->text(), QStringLiteral("Cancel"));
    box->SetOrientation(true);
    box->SetOrientation(false);
    EXPECT_EQ(qobject_cast<QDialogButtonBox*>(box->GetPlatformHandle())->orientation(), Qt::Horizontal);
}

TEST_F(FormDialogTest, TheFirstOfTwoControlsOfOneNameKeepsTheName)
{
    auto dialog = std::make_unique<Dialog>(PlaceForm("formdialog.ui"));
    auto* first = dialog->GetControlPtr<Button*>(L"btnDup");
    ASSERT_TRUE(first);
    EXPECT_EQ(first->GetText(), L"First twin");
    QList<QPushButton*> twins;
    for (QPushButton* button : dialog->GetWndPtr()->findChildren<QPushButton*>(QStringLiteral("btnDup")))
        twins.append(button);
    ASSERT_EQ(twins.size(), 2);
    EXPECT_TRUE(twins[1]->hasMouseTracking());
    dialog->DoModeless(false);
    for (QPushButton* twin : twins)
        QTest::mouseClick(twin, Qt::LeftButton);
    QWidget* window = dialog->GetWndPtr();
    dialog.reset();
    for (QPushButton* twin : twins)
        QTest::mouseClick(twin, Qt::LeftButton);
    window->close();
}

TEST_F(FormDialogTest, FormsThatAreNoDialogFailAndLeaveNothing)
{
    QWidget parent;
    const std::wstring widgetRoot = PlaceForm("widgetroot.ui");
    EXPECT_EQ(ExceptionMessage([&] { Dialog dialog(widgetRoot, &parent); }), L"Create from ui fails");
    FlushDeletes();
    EXPECT_TRUE(parent.children().isEmpty()) << "neither the form's root nor the window stays in the parent";

    const QString plain = Place(QStringLiteral("auiresources/forms/ui/plain.ui.zr"), Fixture("formdialog.ui"));
    EXPECT_EQ(ExceptionMessage([&] { Dialog dialog(plain.toStdWString()); }), L"Create from ui fails");
    QByteArray corrupt = encipheredBytes(Fixture("formdialog.ui"));
    corrupt[40] = static_cast<char>(corrupt[40] ^ 0x55);
    const QString damaged = Place(QStringLiteral("auiresources/forms/ui/damaged.ui.zr"), corrupt);
    EXPECT_EQ(ExceptionMessage([&] { Dialog dialog(damaged.toStdWString()); }), L"Create from ui fails");
    const QString notXml = Place(QStringLiteral("auiresources/forms/ui/text.ui.zr"), "no form at all", true);
    EXPECT_EQ(ExceptionMessage([&] { Dialog dialog(notXml.toStdWString()); }), L"Create from ui fails");
    EXPECT_EQ(ExceptionMessage([&] { Dialog dialog(L"/nonexistent/auiresources/x/ui/none.ui.zr"); }),
              L"Create from ui fails");
}

TEST_F(FormDialogTest, ANestedDialogElementIsNotTheWindowAgain)
{
    Dialog dialog(PlaceForm("nesteddialog.ui"));
    ASSERT_TRUE(dialog.GetWndPtr());
    EXPECT_TRUE(dialog.GetElementByName(L"shallow"));
    EXPECT_FALSE(dialog.GetElementByName(L"deep"));
}

TEST_F(FormDialogTest, WindowFlags)
{
    const std::wstring form = PlaceForm("formdialog.ui");
    const std::pair<unsigned long, unsigned> cases[] = {
        {0, 0x0A003103}, {0x08003003, 0x0A003103}, {0x08003083, 0x08003003}, {3, 0x02000903}};
    for (const auto& [given, built] : cases) {
        Dialog dialog(form, nullptr, given);
        EXPECT_EQ(static_cast<unsigned>(dialog.GetWndPtr()->windowFlags()), built) << std::hex << given;
        EXPECT_EQ(std::static_pointer_cast<Dialog::impl>(dialog.GetBaseImpl())->Flags(), built);
    }
}

TEST(ControlEnumProp, ReadsTheEnumerationOfANamedWidget)
{
    const QByteArray form = R"(<ui><widget class="QDialog" name="d">
        <widget class="Line" name="line"><property name="geometry"><rect><x>1</x></rect></property>
          <property name="orientation"><enum>Qt::Vertical</enum></property></widget>
        <widget class="Line" name="other"><property name="orientation"><number>2</number></property></widget>
        <widget name="noClass"><property name="orientation"><enum>Qt::Horizontal</enum></property></widget>
      </widget></ui>)";
    EXPECT_EQ(GetControlEnumProp(form, QStringLiteral("line"), QStringLiteral("orientation")),
              QStringLiteral("Qt::Vertical"));
    EXPECT_EQ(GetControlEnumProp(form, QStringLiteral("line"), QStringLiteral("geometry")), QString());
    EXPECT_EQ(GetControlEnumProp(form, QStringLiteral("other"), QStringLiteral("orientation")), QString());
    EXPECT_EQ(GetControlEnumProp(form, QStringLiteral("noClass"), QStringLiteral("orientation")), QString());
    EXPECT_EQ(GetControlEnumProp(form, QStringLiteral("missing"), QStringLiteral("orientation")), QString());
    EXPECT_EQ(GetControlEnumProp("<ui><widget", QStringLiteral("line"), QStringLiteral("orientation")), QString());
}
