#include "Dialog.h"

#include "AgnosticUIException.h"
#include "Button.h"
#include "ButtonBox.h"
#include "ChildDialog.h"
#include "DialogImpl.h"
#include "FormDialogFixture.h"
#include "Line.h"
#include "ModalDriver.h"
#include "PictureBytes.h"

#include <QDialogButtonBox>
#include <QMetaMethod>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QVBoxLayout>
#include <QTest>
#include <QToolTip>

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

namespace {

// An application's dialog: its Open button closes it with OK through a bound handler.
class OpenDialog : public Dialog
{
public:
    using Dialog::Dialog;

    bool InitializeControls() override
    {
        ++initialized;
        auto* open = GetControlPtr<Button*>(L"btnOpen");
        if (open && !bound) {
            open->OnClicked.AddBound(open, [this] { Done(OK); });
            bound = true;
        }
        return true;
    }

    int FilterDone(int result) override
    {
        asked.push_back(result);
        return refusals-- > 0 ? -1 : result;
    }

    int initialized = 0;
    bool bound = false;
    int refusals = 0;
    std::vector<int> asked;
};

} // namespace

TEST_F(FormDialogTest, ATranslatedFormRunsModallyUntilAHandlerIsDone)
{
    UseLanguage(L"de-DE", false);
    const std::wstring form = PlaceForm("formdialog.ui");
    PlaceAt(GetTranslationFilePath(L"forms"), Fixture("formdialog_de-DE.ts"));
    PlaceAt(GetStringsFilePath(L"", false), Fixture("strings_de-DE.xml"));

    OpenDialog dialog(form);
    EXPECT_EQ(dialog.initialized, 0) << "the constructor does not initialise";
    EXPECT_EQ(dialog.GetWndPtr()->windowTitle(), QStringLiteral("Formulartitel"));
    EXPECT_EQ(dialog.GetControlPtr<Button*>(L"btnOpen")->GetText(), L"Öffnen");
    auto* box = dialog.GetControlPtr<ButtonBox*>(L"buttonBox");
    EXPECT_EQ(PushButtonOf(box->GetButton(QDialogButtonBox::Cancel))->text(), QStringLiteral("Abbrechen"));
    EXPECT_EQ(PushButtonOf(box->GetButton(QDialogButtonBox::Ok))->text(), QStringLiteral("OK"));

    dialog.refusals = 1;
    whenModalShown([](QWidget* modal) {
        QPushButton* ok = modal->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
        ok->click();
        EXPECT_TRUE(modal->isVisible()) << "the box closes nothing";
        QTest::keyClick(modal, Qt::Key_Escape);
        EXPECT_TRUE(modal->isVisible()) << "the first close is refused";
        EXPECT_TRUE(pressButton(modal, QStringLiteral("btnOpen")));
    });
    EXPECT_EQ(dialog.DoModal(), Dialog::OK);
    EXPECT_EQ(dialog.initialized, 1);
    EXPECT_EQ(dialog.asked, (std::vector<int>{0, 1}));

    FlushDeletes();
    EXPECT_FALSE(dialog.GetWndPtr()) << "closing deletes the window";
    EXPECT_EQ(dialog.DoModal(), 0);
    EXPECT_EQ(ExceptionMessage([&] { dialog.Done(Dialog::OK); }), L"Invalid Control!");
    dialog.SetWindowTitle(L"gone");
    dialog.Show(true, true);
    dialog.Enable(false, true);
    dialog.Update();
    dialog.SetBackgroundColor(0x102030);
    EXPECT_EQ(dialog.GetBackgroundColor(), 0);
}

TEST_F(FormDialogTest, OnceTheWindowIsGoneItsOperationsAreSilent)
{
    Dialog dialog(PlaceForm("formdialog.ui"));
    dialog.GetWndPtr()->close();
    FlushDeletes();
    ASSERT_FALSE(dialog.GetWndPtr());

    const auto silent = [](const char* name, const std::function<void()>& call) {
        EXPECT_NO_THROW(call()) << name;
    };
    const auto zeroRect = [](const Rect& rect) {
        return rect.left == 0 && rect.top == 0 && rect.right == 0 && rect.bottom == 0;
    };
    const auto zeroSize = [](const Size& size) { return size.width == 0 && size.height == 0; };
    const auto zeroPoint = [](const Point& point) { return point.x == 0 && point.y == 0; };
    silent("IsVisible", [&] { EXPECT_FALSE(dialog.IsVisible()); });
    silent("IsEnabled", [&] { EXPECT_FALSE(dialog.IsEnabled()); });
    silent("GetWindowRect", [&] { EXPECT_TRUE(zeroRect(dialog.GetWindowRect())); });
    silent("GetWindowRectUnscaled", [&] { EXPECT_TRUE(zeroRect(dialog.GetWindowRectUnscaled())); });
    silent("GetClientRect", [&] { EXPECT_TRUE(zeroRect(dialog.GetClientRect())); });
    silent("IdealSize", [&] { EXPECT_TRUE(zeroSize(dialog.IdealSize())); });
    silent("MinimumIdealSize", [&] { EXPECT_TRUE(zeroSize(dialog.MinimumIdealSize())); });
    silent("MinimumSize", [&] { EXPECT_TRUE(zeroSize(dialog.MinimumSize())); });
    silent("MaximumSize", [&] { EXPECT_TRUE(zeroSize(dialog.MaximumSize())); });
    silent("ScreenToClient", [&] { EXPECT_TRUE(zeroPoint(dialog.ScreenToClient({5, 6}))); });
    silent("ClientToScreen", [&] { EXPECT_TRUE(zeroPoint(dialog.ClientToScreen({5, 6}))); });
    silent("GetLogicalPixelsX", [&] { EXPECT_EQ(dialog.GetLogicalPixelsX(), 0); });
    silent("GetLogicalPixelsY", [&] { EXPECT_EQ(dialog.GetLogicalPixelsY(), 0); });
    silent("GetFrarmeWidth", [&] { EXPECT_EQ(dialog.GetFrarmeWidth(), 0); });
    silent("SetTimer", [&] { EXPECT_EQ(dialog.SetTimer(1, 10), 0); });
    silent("KillTimer", [&] { dialog.KillTimer(1); });
    silent("MoveWindow", [&] { dialog.MoveWindow(1, 2, 30, 40, true); });
    silent("MoveWindowUnscaled", [&] { dialog.MoveWindowUnscaled(1, 2, 30, 40, true); });
    silent("SetMinimumSize", [&] { dialog.SetMinimumSize({10, 10}); });
    silent("SetMaximumSize", [&] { dialog.SetMaximumSize({10, 10}); });
    silent("GetSizePolicy", [&] { EXPECT_EQ(dialog.GetSizePolicy().value, 0U); });
    silent("SetSizePolicy", [&] { dialog.SetSizePolicy({0x00550000}); });
    silent("GetWidthForText", [&] {
        std::wstring text = L"text";
        EXPECT_EQ(dialog.GetWidthForText(text, nullptr), 0);
    });
    silent("Repaint", [&] { dialog.Repaint(); });
    silent("SetToolTip", [&] { dialog.SetToolTip(nullptr, L"tip", L"", 0, nullptr, false); });
    EXPECT_TRUE(dynamic_cast<BaseImplQt*>(dialog.GetBaseImpl().get())->ToolTips().empty())
        << "no window, no area to show a tip over";
    EXPECT_EQ(ExceptionMessage([&] { dialog.Done(Dialog::OK); }), L"Invalid Control!") << "Done alone still throws";
}

TEST_F(FormDialogTest, TheImplementationAndTheWindowAnswerTheirMetaObjects)
{
    Dialog dialog(PlaceForm("formdialog.ui"));
    BaseImpl* base = dialog.GetBaseImpl().get();
    auto* object = dynamic_cast<QObject*>(base);
    ASSERT_TRUE(object);
    EXPECT_STREQ(object->metaObject()->className(), "AUILib::Dialog::impl");
    EXPECT_EQ(object->qt_metacast("AUILib::Dialog::impl"), static_cast<void*>(object));
    EXPECT_EQ(object->qt_metacast("BaseImplQt"), static_cast<void*>(dynamic_cast<BaseImplQt*>(base)));
    EXPECT_EQ(object->metaObject()->methodCount(), object->metaObject()->methodOffset()) << "no methods of its own";

    const QMetaObject& window = DialogQt::staticMetaObject;
    std::vector<std::string> ownSlots;
    for (int i = window.methodOffset(); i < window.methodCount(); ++i) {
        EXPECT_EQ(window.method(i).methodType(), QMetaMethod::Slot);
        ownSlots.push_back(window.method(i).methodSignature().toStdString());
    }
    EXPECT_EQ(ownSlots, (std::vector<std::string>{"done(int)", "accept()", "reject()", "keyPressEvent(QKeyEvent*)",
                                               "resizeEvent(QResizeEvent*)", "showEvent(QShowEvent*)"}));
    dialog.GetWndPtr()->close();
}

TEST_F(FormDialogTest, NoDefaultButtonAfterAnyShow)
{
    Dialog dialog(PlaceForm("formdialog.ui"));
    QWidget* window = dialog.GetWndPtr();
    dialog.SetDefaultButton(nullptr);
    for (int show = 0; show < 2; ++show) {
        dialog.DoModeless(false);
        for (QPushButton* button : window->findChildren<QPushButton*>()) {
            EXPECT_FALSE(button->isDefault()) << button->objectName().toStdString();
            EXPECT_FALSE(button->autoDefault()) << button->objectName().toStdString();
        }
        dialog.Show(false, false);
    }
    auto* open = dialog.GetControlPtr<Button*>(L"btnOpen");
    dialog.SetDefaultButton(open);
    EXPECT_TRUE(qobject_cast<QPushButton*>(open->GetPlatformHandle())->isDefault());
    window->close();
}

TEST_F(FormDialogTest, ToolTipsAreRecordedWithTheControlThatShowsThem)
{
    QToolTip::setFont(QFont(QStringLiteral("DejaVu Sans"), 9));
    Dialog dialog(PlaceForm("formdialog.ui"));
    const std::shared_ptr<BaseGUIObject> open = dialog.GetElementByName(L"btnOpen");
    const long owners = open.use_count();
    const int fourWide = QFontMetrics(QToolTip::font()).horizontalAdvance(QStringLiteral("aaaa"));
    struct Case
    {
        std::wstring text;
        std::wstring title;
        int maxWidth;
        QString tip;
    };
    const Case cases[] = {
        {L"one\ntwo <i>", L"", 0, QStringLiteral("<div style = 'white-space:pre'>one\ntwo <i></div>")},
        {L"one", L"Title", 0, QStringLiteral("<div style = 'white-space:pre'><b>Title</b><br>one</div>")},
        {L"aaaaaaaaaa", L"", fourWide,
         QStringLiteral("<div style = 'white-space:pre'>aaaa<br>aaaa<br>aa</div>")},
        {L"aa\naaaaaaa", L"", fourWide, QStringLiteral("<div style = 'white-space:pre'>aa<br>aaaa<br>aaa</div>")},
        {L"aa\naa", L"", 1000, QStringLiteral("<div style = 'white-space:pre'>aa\naa</div>")},
    };
    auto* impl = dynamic_cast<BaseImplQt*>(open->GetBaseImpl().get());
    for (const Case& c : cases) {
        dialog.SetToolTip(open, c.text, c.title, c.maxWidth, nullptr, false);
        ASSERT_EQ(impl->ToolTips().size(), 1U) << "one record per control";
        EXPECT_EQ(impl->ToolTips()[0].data->text, c.tip) << QString::fromStdWString(c.text).toStdString();
    }
    EXPECT_EQ(open->GetPlatformHandle()->accessibleName(), QStringLiteral("aa\naa"));
    QRect area(1, 2, 3, 4);
    dialog.SetToolTip(open, L"x", L"", 0, &area, false);
    EXPECT_EQ(impl->ToolTips()[0].data->area, area);
    EXPECT_EQ(impl->ToolTips()[0].control.get(), open.get());
    EXPECT_EQ(open.use_count(), owners) << "the record does not own its control";

    dialog.SetToolTip(nullptr, L"window", L"", 0, nullptr, false);
    auto* dialogImpl = dynamic_cast<BaseImplQt*>(dialog.GetBaseImpl().get());
    ASSERT_EQ(dialogImpl->ToolTips().size(), 1U);
    EXPECT_FALSE(dialogImpl->ToolTips()[0].control);
}

TEST_F(FormDialogTest, CursorsGoOnTheOverrideStack)
{
    Dialog dialog(PlaceForm("formdialog.ui"));
    ASSERT_FALSE(QGuiApplication::overrideCursor());
    dialog.SetCursorType(CursorTypes::Wait);
    ASSERT_TRUE(QGuiApplication::overrideCursor());
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
    dialog.GetWndPtr()->setCursor(Qt::IBeamCursor);
    dialog.SetCursorType(static_cast<CursorTypes>(0));
    ASSERT_TRUE(QGuiApplication::overrideCursor()) << "another shape pushes one and pops one";
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
    dialog.GetWndPtr()->unsetCursor();
    dialog.SetCursorType(static_cast<CursorTypes>(0));
    EXPECT_FALSE(QGuiApplication::overrideCursor());

    const QByteArray png = PictureBytes::Png(4, 4, Qt::red);
    const auto* bytes = reinterpret_cast<const unsigned char*>(png.constData());
    EXPECT_FALSE(dialog.LoadCustomCursor(bytes, png.size(), 1, 1, ImageTypes::GIF));
    EXPECT_FALSE(dialog.LoadCustomCursor(bytes, -1, 1, 1, ImageTypes::PNG));
    EXPECT_TRUE(dialog.LoadCustomCursor(bytes, png.size(), 1, 2, ImageTypes::PNG));
    dialog.SetCursorType(static_cast<CursorTypes>(1));
    ASSERT_TRUE(QGuiApplication::overrideCursor());
    EXPECT_EQ(QGuiApplication::overrideCursor()->hotSpot(), QPoint(1, 2));
    QGuiApplication::restoreOverrideCursor();

    dialog.SetIcon(bytes, -3, ImageTypes::PNG, false);
    EXPECT_TRUE(dialog.GetWndPtr()->windowIcon().isNull());
    dialog.SetIcon(bytes, png.size(), ImageTypes::PNG, false);
    EXPECT_FALSE(dialog.GetWndPtr()->windowIcon().isNull());
    dialog.SetBackgroundColor(0x7f123456);
    EXPECT_EQ(static_cast<unsigned>(dialog.GetBackgroundColor()), 0xff123456U);
}

TEST_F(FormDialogTest, ADeletedWidgetReportsThroughItsControl)
{
    Dialog dialog(PlaceForm("formdialog.ui"));
    const std::shared_ptr<BaseGUIObject> inner = dialog.GetElementByName(L"btnInner");
    BaseGUIObject* reported = nullptr;
    inner->OnDestroyed.Add([&](BaseGUIObject* control) { reported = control; });
    delete inner->GetPlatformHandle();
    EXPECT_EQ(reported, inner.get());
    EXPECT_THROW(inner->IsVisible(), AgnosticUIException);

    BaseGUIObject* window = nullptr;
    dialog.OnDestroyed.Add([&](BaseGUIObject* control) { window = control; });
    delete dialog.GetWndPtr();
    EXPECT_EQ(window, &dialog);
    EXPECT_FALSE(dialog.GetWndPtr());
}

TEST_F(FormDialogTest, AWindowOutlivingItsDialogIsAPlainDialog)
{
    auto dialog = std::make_unique<OpenDialog>(PlaceForm("formdialog.ui"));
    int resized = 0;
    dialog->OnResize.Add([&] { ++resized; });
    dialog->refusals = 100;
    dialog->DoModeless(false);
    QPointer<QWidget> window = dialog->GetWndPtr();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    window->resize(400, 300);
    EXPECT_GT(resized, 0);
    const int before = resized;
    dialog.reset();
    ASSERT_TRUE(window);
    window->resize(500, 400);
    window->findChild<QPushButton*>(QStringLiteral("btnOpen"))->click();
    QTest::keyClick(window, Qt::Key_Return);
    QTest::keyClick(window, Qt::Key_Escape);
    FlushDeletes();
    EXPECT_FALSE(window) << "Escape closed it: no dialog refuses any more";
    EXPECT_EQ(resized, before);
}

TEST_F(FormDialogTest, ADialogThatIsNeverShownTakesItsWindowAlong)
{
    QPointer<QWidget> window;
    {
        Dialog dialog(PlaceForm("formdialog.ui"));
        window = dialog.GetWndPtr();
    }
    FlushDeletes();
    EXPECT_FALSE(window);
}

namespace {

// The window's content in a scroll area, as forms of scrolled dialogs have it.
QScrollArea* ScrollContent(Dialog& dialog, QSize content)
{
    QWidget* window = dialog.GetWndPtr();
    auto* scroll = new QScrollArea(window);
    auto* inner = new QWidget;
    auto* innerLayout = new QVBoxLayout(inner);
    auto* block = new QWidget;
    block->setFixedSize(content);
    innerLayout->addWidget(block);
    scroll->setWidget(inner);
    qobject_cast<QBoxLayout*>(window->layout())->insertWidget(0, scroll);
    return scroll;
}

} // namespace

TEST_F(FormDialogTest, AScrolledWindowFitsItsContentWithinTheScreenShare)
{
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    Dialog fitting(PlaceForm("formdialog.ui"), nullptr, 0, 1.0);
    QScrollArea* scroll = ScrollContent(fitting, QSize(200, 100));
    fitting.ResizeDialogAccordingScreen(&fitting);
    EXPECT_EQ(scroll->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    EXPECT_EQ(scroll->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QWidget* window = fitting.GetWndPtr();
    EXPECT_EQ(window->minimumSize(), window->maximumSize());
    EXPECT_EQ(window->geometry().center(), screen.center()) << "centred on the first fitting";
    window->move(3, 4);
    fitting.ResizeDialogAccordingScreen(&fitting);
    EXPECT_EQ(window->pos(), QPoint(3, 4)) << "and only then";
    window->close();

    Dialog wide(PlaceForm("formdialog.ui"), nullptr, 0, 0.25);
    QScrollArea* wideScroll = ScrollContent(wide, QSize(screen.width(), 10));
    wide.ResizeDialogAccordingScreen(&wide);
    EXPECT_EQ(wideScroll->horizontalScrollBarPolicy(), Qt::ScrollBarAsNeeded);
    QWidget* wideWindow = wide.GetWndPtr();
    const int decoration = wideWindow->frameGeometry().width() - wideWindow->width();
    const int allowed = static_cast<int>(screen.width() * 0.25 - decoration) - 2 * wideScroll->frameWidth();
    EXPECT_EQ(wideWindow->maximumWidth(), allowed);
    wide.GetWndPtr()->close();

    Dialog unscrolled(PlaceForm("formdialog.ui"));
    unscrolled.ResizeDialogAccordingScreen(&unscrolled);
    EXPECT_FALSE(unscrolled.GetWndPtr()->isVisible()) << "a window without a scroll area first is left alone";
}

TEST_F(FormDialogTest, AnEmbeddedDialogTakesThePlaceOfAnotherControl)
{
    Dialog host(PlaceForm("formdialog.ui"));
    OpenDialog embedded(PlaceForm("formdialog.ui"));
    const std::shared_ptr<BaseGUIObject> inner = host.GetElementByName(L"btnInner");
    QPointer<QWidget> placeholder = inner->GetPlatformHandle();
    QWidget* page = placeholder->parentWidget();
    embedded.CreateTabWindowEx(inner.get(), false);
    EXPECT_EQ(embedded.GetWndPtr()->parentWidget(), page);
    EXPECT_FALSE(embedded.GetWndPtr()->isWindow());
    EXPECT_EQ(embedded.initialized, 1);
    EXPECT_GE(page->layout()->indexOf(embedded.GetWndPtr()), 0);
    FlushDeletes();
    EXPECT_FALSE(placeholder) << "the replaced widget is deleted later";
    embedded.CreateTabWindowEx(nullptr, false);
    EXPECT_EQ(embedded.initialized, 1);
}

TEST_F(FormDialogTest, LinesTakeTheOrientationTheFormGivesThem)
{
    Dialog dialog(PlaceForm("lines.ui"));
    Line fresh;
    const QFrame::Shape unchanged = qobject_cast<QFrame*>(fresh.GetPlatformHandle())->frameShape();
    const std::pair<const wchar_t*, QFrame::Shape> cases[] = {
        {L"vertical", QFrame::VLine}, {L"horizontal", QFrame::HLine}, {L"plain", unchanged}, {L"odd", unchanged}};
    for (const auto& [name, shape] : cases) {
        auto* line = dialog.GetControlPtr<Line*>(name);
        ASSERT_TRUE(line) << QString::fromWCharArray(name).toStdString();
        EXPECT_EQ(qobject_cast<QFrame*>(line->GetPlatformHandle())->frameShape(), shape)
            << QString::fromWCharArray(name).toStdString();
    }
}

TEST_F(FormDialogTest, FocusAndTheRejectionOfAnEmbeddedDialog)
{
    OpenDialog host(PlaceForm("formdialog.ui"));
    OpenDialog embedded(PlaceForm("formdialog.ui"));
    embedded.CreateTabWindowEx(host.GetElementByName(L"btnInner").get(), false);
    host.DoModeless(false);
    QWidget* window = host.GetWndPtr();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    const std::shared_ptr<BaseGUIObject> open = host.GetElementByName(L"btnOpen");
    host.SetFocusToCtrl(open.get());
    EXPECT_EQ(host.GetFocusedCtrlPtr(), open);

    qobject_cast<QDialog*>(embedded.GetWndPtr())->reject();
    EXPECT_FALSE(window->isVisible()) << "the dialog it sits in is rejected";
    EXPECT_TRUE(host.asked.empty()) << "a rejection asks no FilterDone";
    EXPECT_TRUE(embedded.asked.empty());
}
