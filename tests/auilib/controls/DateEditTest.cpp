#include "DateEdit.h"

#include "AgnosticUIException.h"
#include "Event.h"
#include "FormDialogFixture.h"
#include "WaitBound.h"

#include <QApplication>
#include <QDateTimeEdit>
#include <QDir>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMouseEvent>
#include <QPointer>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimerEvent>
#include <QVBoxLayout>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

using namespace AUILib;

namespace {

// Qt's warnings and worse, collected while it lives.
class QtWarnings
{
public:
    QtWarnings()
    {
        s_current = this;
        s_previous = qInstallMessageHandler(&Collect);
    }
    ~QtWarnings()
    {
        qInstallMessageHandler(s_previous);
        s_current = nullptr;
    }
    QtWarnings(const QtWarnings&) = delete;
    QtWarnings& operator=(const QtWarnings&) = delete;

    std::vector<std::string> lines;

private:
    static void Collect(QtMsgType type, const QMessageLogContext& context, const QString& message)
    {
        if (type == QtDebugMsg || type == QtInfoMsg) {
            if (s_previous)
                s_previous(type, context, message);
            return;
        }
        // The offscreen platform's note on every layout change of a shown window.
        if (message != QLatin1String("This plugin does not support propagateSizeHints()"))
            s_current->lines.push_back(message.toStdString());
    }

    static inline QtWarnings* s_current = nullptr;
    static inline QtMessageHandler s_previous = nullptr;
};

// Counts the timer events that reach a widget.
class TimerTicks : public QObject
{
public:
    explicit TimerTicks(QWidget* widget) { widget->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Timer)
            ++count;
        return false;
    }
    int count = 0;
};

class DateEditTest : public testing::Test
{
protected:
    void SetUp() override
    {
        layout->addWidget(new QLabel(QStringLiteral("above")));
        edit = std::make_unique<DateEdit>();
        edit->Create(&window);
        layout->addWidget(edit->GetWndPtr());
        layout->addWidget(new QLabel(QStringLiteral("below")));
        window.resize(240, 120);
        window.show();
        edit->OnDateTimeChanged.Add([this](ZrDateTime value) { changes.push_back(value); });
    }

    QDateTimeEdit* widget() const { return qobject_cast<QDateTimeEdit*>(edit->GetWndPtr()); }

    static QString dateFormat() { return QLocale::system().dateFormat(QLocale::ShortFormat); }

    static void deletePostponed() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    QWidget window;
    QVBoxLayout* layout = new QVBoxLayout(&window);
    std::unique_ptr<DateEdit> edit;
    std::vector<ZrDateTime> changes;
};

} // namespace

TEST_F(DateEditTest, StartsAsATodaysDateWithACalendar)
{
    EXPECT_EQ(edit->GetControlType(), ControlType::DateEdit);
    EXPECT_EQ(edit->GetMode(), DateEdit::DateOnly);
    EXPECT_EQ(widget()->displayFormat(), dateFormat());
    EXPECT_EQ(widget()->date(), QDate::currentDate());
    EXPECT_TRUE(widget()->calendarPopup());
    EXPECT_TRUE(changes.empty());
}

TEST_F(DateEditTest, InvalidValuesAreRefusedSilently)
{
    const QDate before = widget()->date();
    EXPECT_FALSE(edit->SetDateTime(ZrDateTime{2024, 2, 31, 0, 0, 0}));
    EXPECT_EQ(widget()->date(), before);
    EXPECT_TRUE(changes.empty());

    EXPECT_TRUE(edit->SetDateTime(ZrDateTime{2024, 3, 4, 10, 20, 30}));
    ASSERT_EQ(changes.size(), 1u);
    const ZrDateTime got = edit->GetDateTime();
    for (const ZrDateTime& value : {changes.front(), got}) {
        EXPECT_EQ(std::make_tuple(value.year, value.month, value.day, value.hour, value.minute, value.second),
                  std::make_tuple(2024, 3, 4, 10, 20, 30));
    }
}

TEST_F(DateEditTest, TextIsReadInTheModesFormat)
{
    EXPECT_FALSE(edit->SetDateTime(std::wstring(L"7:05"))) << "a date mode refuses a time";
    // A short form with a two-digit year (German, US English) reads it in the century nearest today.
    const int thisYear = QDate::currentDate().year();
    // 29 February 2000 has no twin in 19xx, where Qt reads a two-digit year.
    for (const QDate& shown : {QDate(thisYear - 45, 1, 2), QDate(thisYear + 45, 6, 30), QDate(2000, 2, 29)}) {
        EXPECT_TRUE(edit->SetDateTime(shown.toString(dateFormat()).toStdWString()));
        EXPECT_EQ(widget()->date(), shown) << shown.toString(dateFormat()).toStdString();
    }
    const QString noLeapDay = QDate(2001, 2, 28).toString(dateFormat()).replace(QLatin1String("28"), QLatin1String("29"));
    EXPECT_FALSE(edit->SetDateTime(noLeapDay.toStdWString())) << noLeapDay.toStdString();
    const QDate date(2023, 11, 5);
    EXPECT_TRUE(edit->SetDateTime(date.toString(dateFormat()).toStdWString()));
    EXPECT_EQ(widget()->date(), date);
    EXPECT_EQ(edit->GetDateTimeString(), date.toString(Qt::TextDate).toStdWString());

    edit->SetMode(DateEdit::TimeOnly);
    EXPECT_FALSE(widget()->calendarPopup());
    EXPECT_TRUE(edit->SetDateTime(std::wstring(L"7:05")));
    EXPECT_EQ(widget()->text(), "7:05");
    EXPECT_EQ(edit->GetDateTimeString(), QTime(7, 5).toString(Qt::TextDate).toStdWString());
    EXPECT_FALSE(edit->SetDateTime(edit->GetDateTimeString())) << "the text date form is not read back";
}

TEST_F(DateEditTest, FromTimeToADateModeTheWidgetIsReplacedInPlace)
{
    QPointer<QWidget> first = edit->GetWndPtr();
    first->setObjectName(QStringLiteral("when"));
    first->setStyleSheet(QStringLiteral("QDateTimeEdit { color: #123456; }"));
    int destroyedSignals = 0;
    QObject::connect(first, &QObject::destroyed, [&destroyedSignals] { ++destroyedSignals; });

    edit->SetMode(DateEdit::TimeOnly);
    ASSERT_EQ(edit->GetWndPtr(), first) << "a date mode to time keeps the widget";
    edit->SetMode(DateEdit::DateAndTime);
    QWidget* second = edit->GetWndPtr();
    ASSERT_NE(second, first);
    EXPECT_TRUE(second->isVisible());
    EXPECT_EQ(second->objectName(), "when");
    EXPECT_EQ(second->styleSheet(), "QDateTimeEdit { color: #123456; }");
    EXPECT_EQ(layout->indexOf(second), 1) << "the replacement takes the old one's place in the layout";
    EXPECT_EQ(widget()->displayFormat(), dateFormat() + " H:mm");
    EXPECT_TRUE(widget()->calendarPopup());
    EXPECT_EQ(widget()->date(), QDate::currentDate());

    deletePostponed();
    EXPECT_FALSE(first);
    EXPECT_EQ(destroyedSignals, 0) << "the control lives on";

    changes.clear();
    EXPECT_TRUE(edit->SetDateTime(ZrDateTime{2024, 3, 4, 10, 20, 0}));
    EXPECT_EQ(changes.size(), 1u) << "the new widget reports its changes";

    edit->SetMode(DateEdit::DateOnly);
    EXPECT_EQ(edit->GetWndPtr(), second) << "between date modes the widget stays";
    EXPECT_EQ(widget()->displayFormat(), dateFormat());
    EXPECT_EQ(widget()->date(), QDate::currentDate());
}

TEST_F(DateEditTest, TheReplacementTakesOverTheControlsState)
{
    QFont font(QStringLiteral("Serif"));
    font.setPointSizeF(13.5);
    font.setItalic(true);
    edit->SetMode(DateEdit::TimeOnly);
    edit->Show(false, false);
    edit->Enable(false, false);
    edit->SetAcceptDrops(true);
    edit->SetMinimumSize({90, 20});
    edit->SetMaximumSize({400, 60});
    edit->SetSizePolicy(SizePolicy{0x170000});
    edit->SetTrackMouseEvent();
    edit->GetWndPtr()->setToolTip(QStringLiteral("When it happened"));
    edit->GetWndPtr()->setAccessibleName(QStringLiteral("Date of the event"));
    edit->GetWndPtr()->setFont(font);
    const QFont shownFont = edit->GetWndPtr()->font();
    QPalette palette = edit->GetWndPtr()->palette();
    palette.setColor(QPalette::Base, QColor(0x12, 0x34, 0x56));
    edit->GetWndPtr()->setPalette(palette);
    edit->GetWndPtr()->setMouseTracking(true);
    const SizePolicy policy = edit->GetSizePolicy();

    edit->SetMode(DateEdit::DateOnly);
    QWidget* replacement = edit->GetWndPtr();
    EXPECT_FALSE(edit->IsVisible());
    EXPECT_TRUE(replacement->isHidden()) << "hidden by the program, it stays hidden";
    EXPECT_FALSE(edit->IsEnabled());
    EXPECT_TRUE(replacement->acceptDrops());
    EXPECT_TRUE(edit->IsAcceptDrops());
    EXPECT_EQ(replacement->toolTip(), "When it happened");
    EXPECT_EQ(replacement->accessibleName(), "Date of the event");
    EXPECT_EQ(replacement->font(), shownFont);
    EXPECT_EQ(replacement->minimumSize(), QSize(90, 20));
    EXPECT_EQ(replacement->maximumSize(), QSize(400, 60));
    EXPECT_EQ(edit->GetSizePolicy().value, policy.value);
    EXPECT_TRUE(replacement->testAttribute(Qt::WA_Hover));
    EXPECT_TRUE(replacement->hasMouseTracking());
    EXPECT_EQ(replacement->palette().color(QPalette::Base), QColor(0x12, 0x34, 0x56));

    edit->SetMode(DateEdit::TimeOnly);
    edit->Show(true, false);
    edit->Enable(true, false);
    edit->SetAcceptDrops(false);
    edit->SetMode(DateEdit::DateAndTime);
    EXPECT_TRUE(edit->IsVisible());
    EXPECT_TRUE(edit->IsEnabled());
    EXPECT_FALSE(edit->GetWndPtr()->acceptDrops());
}

TEST_F(DateEditTest, TheReplacementKeepsOnlyTheControlsOwnDisabling)
{
    struct Case
    {
        const char* what;
        bool disabledOnItsOwn;
    };
    for (const Case& c : {Case{"enabled, in a disabled window", false}, Case{"disabled itself, too", true}}) {
        SCOPED_TRACE(c.what);
        edit->SetMode(DateEdit::TimeOnly);
        edit->Enable(!c.disabledOnItsOwn, false);
        window.setEnabled(false);
        edit->SetMode(DateEdit::DateOnly);
        EXPECT_FALSE(edit->IsEnabled()) << "disabled with its window";
        window.setEnabled(true);
        EXPECT_EQ(edit->IsEnabled(), !c.disabledOnItsOwn);
        edit->Enable(true, false);
    }
}

TEST_F(DateEditTest, TheReplacementFollowsTheWindowsFontUnlessOneWasSet)
{
    edit->SetMode(DateEdit::TimeOnly);
    edit->SetMode(DateEdit::DateOnly);
    QFont larger = window.font();
    larger.setPointSizeF(larger.pointSizeF() + 4);
    window.setFont(larger);
    EXPECT_EQ(edit->GetWndPtr()->font().pointSizeF(), larger.pointSizeF());
}

TEST_F(DateEditTest, ChangingTheModeFromItsOwnNotification)
{
    edit->SetMode(DateEdit::TimeOnly);
    bool switched = false;
    edit->OnDateTimeChanged.Add([this, &switched](ZrDateTime) {
        if (!switched) {
            switched = true;
            edit->SetMode(DateEdit::DateAndTime);
        }
    });
    EXPECT_TRUE(edit->SetDateTime(std::wstring(L"8:15")));
    EXPECT_TRUE(switched);
    deletePostponed();
    EXPECT_EQ(edit->GetMode(), DateEdit::DateAndTime);
    EXPECT_TRUE(widget()->isVisible());
}

TEST_F(DateEditTest, PictureOnTheDropDownButton)
{
    QTemporaryDir folder;
    const QString picture = folder.filePath(QStringLiteral("calendar.png"));
    QImage(8, 8, QImage::Format_ARGB32).save(picture);
    const QString relative = QDir::current().relativeFilePath(picture);
    edit->LoadPicture(relative.toStdWString());
    EXPECT_EQ(widget()->styleSheet(),
              "QDateTimeEdit::drop-down{background-color: white;image: url(" + picture + ");image-position: left;}");
    edit->LoadPicture(L"/no/such/picture.png");
    EXPECT_EQ(widget()->styleSheet(), "");
}

TEST(DateEditWidgetTest, TheReplacementKeepsTheGeometryOutsideALayout)
{
    QWidget window;
    DateEdit edit;
    edit.Create(&window);
    edit.SetMode(DateEdit::TimeOnly);
    edit.MoveWindow(7, 9, 150, 31, false);
    window.show();
    edit.SetMode(DateEdit::DateOnly);
    EXPECT_EQ(edit.GetWndPtr()->geometry(), QRect(7, 9, 150, 31));
    EXPECT_EQ(edit.GetWndPtr()->parentWidget(), &window);
}

TEST(DateEditWidgetTest, TheReplacementTakesTheOldOnesPlaceInTheTabOrderAndItsFocus)
{
    QWidget window;
    auto* before = new QLineEdit(&window);
    DateEdit edit;
    edit.Create(&window);
    auto* after = new QLineEdit(&window);
    // The form's order, not the order of creation.
    QWidget::setTabOrder(after, edit.GetWndPtr());
    QWidget::setTabOrder(edit.GetWndPtr(), before);
    window.show();
    QApplication::setActiveWindow(&window);
    edit.SetMode(DateEdit::TimeOnly);
    edit.GetWndPtr()->setFocus();
    ASSERT_TRUE(edit.GetWndPtr()->hasFocus());

    edit.SetMode(DateEdit::DateOnly);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QWidget* replacement = edit.GetWndPtr();
    EXPECT_TRUE(replacement->hasFocus()) << "the focus stays with the control";
    after->setFocus();
    QTest::keyClick(after, Qt::Key_Tab);
    EXPECT_TRUE(replacement->hasFocus());
    before->setFocus();
    QTest::keyClick(before, Qt::Key_Backtab);
    EXPECT_TRUE(replacement->hasFocus());
}

TEST(DateEditWidgetTest, TimersEndWithTheControlOrItsWidget)
{
    struct Case
    {
        const char* what;
        bool widgetGoes;
    };
    for (const Case& c : {Case{"the widget goes with its window", true}, Case{"the control goes", false}}) {
        SCOPED_TRACE(c.what);
        QtWarnings warnings;
        auto window = std::make_unique<QWidget>();
        auto edit = std::make_unique<DateEdit>();
        edit->Create(window.get());
        edit->SetMode(DateEdit::TimeOnly);
        edit->SetMode(DateEdit::DateOnly);
        TimerTicks atTheWidget(edit->GetWndPtr());
        const int id = edit->SetTimer(0, 1);
        ASSERT_TRUE(QTest::qWaitFor([&] { return atTheWidget.count > 0; }, kWaitBoundMs));

        if (c.widgetGoes) {
            window.reset();
            QTest::qWait(20);
            EXPECT_THROW(edit->KillTimer(static_cast<unsigned>(id)), AgnosticUIException);
            EXPECT_THROW(edit->SetTimer(0, 1), AgnosticUIException);
        } else {
            edit.reset();
            const int heard = atTheWidget.count;
            QTest::qWait(20);
            EXPECT_EQ(atTheWidget.count, heard) << "the widget that lives on hears no more of them";
        }
        EXPECT_THAT(warnings.lines, testing::IsEmpty());
    }
}

namespace {

// Opens a date edit as a cell's editor, as a list does.
class DateEditorDelegate : public QStyledItemDelegate
{
public:
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex&) const override
    {
        control = std::make_unique<DateEdit>();
        control->Create(parent);
        return control->GetWndPtr();
    }

    mutable std::unique_ptr<DateEdit> control;
};

// Where the cursor is after the user typed the minutes: a widget hidden with the focus there hands
// the focus on to the next widget.
void PutTheCursorInTheLastField(QWidget* widget)
{
    auto* edit = qobject_cast<QDateTimeEdit*>(widget);
    edit->setCurrentSectionIndex(edit->sectionCount() - 1);
}

} // namespace

TEST(DateEditWidgetTest, AViewHoldingTheReplacedWidgetAsItsEditorHearsItGo)
{
    DateEditorDelegate delegate;
    QTableWidget view(1, 1);
    view.setItemDelegate(&delegate);
    view.resize(200, 100);
    view.show();
    const QModelIndex cell = view.model()->index(0, 0);
    view.QAbstractItemView::openPersistentEditor(cell);
    ASSERT_TRUE(delegate.control);

    delegate.control->SetMode(DateEdit::TimeOnly);
    delegate.control->SetMode(DateEdit::DateOnly);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    // Laying the editors out again touches every editor the view still holds: one that went would be
    // touched after it was freed.
    view.resize(220, 100);
    QCoreApplication::processEvents();
    EXPECT_NE(view.viewport()->findChild<QDateTimeEdit*>(), nullptr);
}

TEST(DateEditWidgetTest, AFocusedEditorKeepsTheFocusAndItsCellThroughChangesOfMode)
{
    struct Case
    {
        const char* name;
        std::vector<DateEdit::DateEditMode> modes;
        bool replaced;
    };
    const Case cases[] = {
        {"time only, then a date", {DateEdit::TimeOnly, DateEdit::DateOnly}, true},
        {"time only, then date and time", {DateEdit::TimeOnly, DateEdit::DateAndTime}, true},
        {"back and forth", {DateEdit::TimeOnly, DateEdit::DateOnly, DateEdit::TimeOnly, DateEdit::DateAndTime}, true},
        {"from a date to time only", {DateEdit::DateAndTime, DateEdit::TimeOnly}, false},
    };
    for (const Case& c : cases) {
        for (const bool lastField : {false, true}) {
            SCOPED_TRACE(c.name);
            SCOPED_TRACE(lastField ? "cursor in the last field" : "cursor where the focus put it");
            DateEditorDelegate delegate;
            QTableWidget view(2, 2);
            view.setItemDelegate(&delegate);
            view.resize(240, 120);
            view.show();
            QApplication::setActiveWindow(&view);
            const QModelIndex cell = view.model()->index(0, 0);
            view.setCurrentIndex(cell);
            view.edit(cell);
            ASSERT_TRUE(delegate.control);
            QWidget* first = delegate.control->GetWndPtr();
            first->setFocus();
            ASSERT_TRUE(first->hasFocus());

            for (const DateEdit::DateEditMode mode : c.modes) {
                delegate.control->SetMode(mode);
                if (lastField)
                    PutTheCursorInTheLastField(delegate.control->GetWndPtr());
            }
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QWidget* now = delegate.control->GetWndPtr();
            EXPECT_TRUE(now->isVisible());
            EXPECT_EQ(QApplication::focusWidget(), now);
            EXPECT_EQ(view.currentIndex(), cell) << "the user stays on the cell";
            if (!c.replaced) {
                EXPECT_EQ(view.indexWidget(cell), first) << "the view's editor stays open";
            }
        }
    }
}

namespace {

// Runs an action on each focus event a widget hears.
class FocusWatch : public QObject
{
public:
    FocusWatch(QWidget* widget, std::function<void(QEvent::Type)> act)
        : m_act(std::move(act))
    {
        widget->installEventFilter(this);
    }
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut)
            m_act(event->type());
        return false;
    }

private:
    std::function<void(QEvent::Type)> m_act;
};

} // namespace

TEST(DateEditWidgetTest, TheFocusGoesStraightToTheReplacementOrStaysWhereItWas)
{
    for (const bool controlFocused : {true, false}) {
        SCOPED_TRACE(controlFocused ? "the control has the focus" : "another widget has it");
        QWidget window;
        auto* before = new QLineEdit(&window);
        DateEdit edit;
        edit.Create(&window);
        auto* after = new QLineEdit(&window);
        window.show();
        QApplication::setActiveWindow(&window);
        edit.SetMode(DateEdit::TimeOnly);
        (controlFocused ? edit.GetWndPtr() : static_cast<QWidget*>(after))->setFocus();
        PutTheCursorInTheLastField(edit.GetWndPtr());
        int heardByOthers = 0;
        const auto count = [&heardByOthers](QEvent::Type) { ++heardByOthers; };
        FocusWatch watchBefore(before, count);
        FocusWatch watchAfter(after, count);

        edit.SetMode(DateEdit::DateOnly);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(QApplication::focusWidget(), controlFocused ? edit.GetWndPtr() : after);
        EXPECT_EQ(heardByOthers, 0) << "no other widget has the focus on the way";
    }
}

TEST(DateEditWidgetTest, AWindowActiveAgainGivesTheFocusBackToTheReplacement)
{
    QWidget window;
    new QLineEdit(&window);
    DateEdit edit;
    edit.Create(&window);
    window.show();
    QApplication::setActiveWindow(&window);
    edit.SetMode(DateEdit::TimeOnly);
    edit.GetWndPtr()->setFocus();
    QWidget other;
    other.show();
    QApplication::setActiveWindow(&other);
    ASSERT_FALSE(edit.GetWndPtr()->hasFocus());

    edit.SetMode(DateEdit::DateOnly);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QApplication::setActiveWindow(&window);
    EXPECT_TRUE(edit.GetWndPtr()->hasFocus());
}

TEST(DateEditWidgetTest, AHandlerOfTheOldWidgetsFocusOutMayLetTheControlGoOrChangeItsModeAgain)
{
    for (const bool letGo : {true, false}) {
        SCOPED_TRACE(letGo ? "lets the control go" : "changes the mode again");
        QWidget window;
        auto edit = std::make_unique<DateEdit>();
        edit->Create(&window);
        window.show();
        QApplication::setActiveWindow(&window);
        edit->SetMode(DateEdit::TimeOnly);
        const QPointer<QWidget> old = edit->GetWndPtr();
        old->setFocus();
        bool acted = false;
        FocusWatch watch(old, [&](QEvent::Type type) {
            if (type != QEvent::FocusOut || acted)
                return;
            acted = true;
            if (letGo)
                edit.reset();
            else
                edit->SetMode(DateEdit::TimeOnly);
        });

        edit->SetMode(DateEdit::DateOnly);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(acted);
        EXPECT_TRUE(old.isNull());
        if (letGo)
            continue;
        EXPECT_EQ(edit->GetMode(), DateEdit::TimeOnly) << "the last change of mode holds";
        EXPECT_EQ(qobject_cast<QDateTimeEdit*>(edit->GetWndPtr())->displayFormat(), QStringLiteral("H:mm"));
        EXPECT_TRUE(edit->GetWndPtr()->hasFocus());
    }
}

TEST(DateEditWidgetTest, OutlivesItsControl)
{
    QWidget window;
    auto edit = std::make_unique<DateEdit>();
    int changes = 0;
    edit->OnDateTimeChanged.Add([&changes](ZrDateTime) { ++changes; });
    edit->Create(&window);
    QPointer<QDateTimeEdit> kept = qobject_cast<QDateTimeEdit*>(edit->GetWndPtr());
    edit.reset();
    ASSERT_TRUE(kept);
    kept->setDate(QDate(2020, 1, 1));
    EXPECT_EQ(changes, 0);
}

namespace {

// The form's date edit, whose widget the dialog bridged to the control's event procedure.
class DateEditFormTest : public FormDialogTest
{
protected:
    void SetUp() override
    {
        FormDialogTest::SetUp();
        dialog = std::make_unique<Dialog>(PlaceForm("dateedit.ui"));
        edit = dialog->GetControlPtr<DateEdit*>(L"dteWhen");
        ASSERT_TRUE(edit);
        edit->SetEventProcedure([this](BaseGUIObject*, Event* event) {
            heard.push_back(event->type);
            if (event->type == Event::Timer)
                ticks.push_back(static_cast<TimerEvent*>(event)->timerId);
            return false;
        });
        edit->OnDestroyed.Add([this](BaseGUIObject* control) { ends.push_back(control); });
        dialog->GetWndPtr()->show();
    }

    void TearDown() override
    {
        dialog.reset();
        FormDialogTest::TearDown();
    }

    // What the procedure hears of a key, a click, the focus and a timer sent to the control's widget.
    std::vector<int> heardOfInput()
    {
        heard.clear();
        QWidget* widget = edit->GetWndPtr();
        QKeyEvent key(QEvent::KeyPress, Qt::Key_Up, Qt::NoModifier);
        QMouseEvent click(QEvent::MouseButtonPress, QPointF(4, 4), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QFocusEvent focus(QEvent::FocusIn);
        QTimerEvent timer(1);
        for (QEvent* event : std::initializer_list<QEvent*>{&key, &click, &focus, &timer})
            QCoreApplication::sendEvent(widget, event);
        return heard;
    }

    // Waits until the procedure heard each of the timers `times` times from now on.
    bool Hears(const std::vector<int>& timers, int times = 2)
    {
        ticks.clear();
        return QTest::qWaitFor(
            [&] {
                return std::all_of(timers.begin(), timers.end(), [&](int id) {
                    return std::count(ticks.begin(), ticks.end(), id) >= times;
                });
            },
            kWaitBoundMs);
    }

    // What the procedure hears of the timers in a short while.
    std::vector<int> HeardInAWhile()
    {
        ticks.clear();
        QTest::qWait(20);
        return ticks;
    }

    std::unique_ptr<Dialog> dialog;
    DateEdit* edit = nullptr;
    std::vector<int> heard;
    std::vector<int> ticks;
    std::vector<BaseGUIObject*> ends;
};

} // namespace

TEST_F(DateEditFormTest, TheReplacementIsBridgedAndItsEndReportedAsTheFormsWidgetsAre)
{
    const std::vector<int> bridged{Event::KeyPress, Event::MouseButtonPress, Event::FocusIn, Event::Timer};
    ASSERT_EQ(heardOfInput(), bridged);

    for (DateEdit::DateEditMode dateMode : {DateEdit::DateOnly, DateEdit::DateAndTime}) {
        SCOPED_TRACE(dateMode);
        QWidget* before = edit->GetWndPtr();
        edit->SetMode(DateEdit::TimeOnly);
        edit->SetMode(dateMode);
        ASSERT_NE(edit->GetWndPtr(), before);
        FlushDeletes();
        EXPECT_TRUE(ends.empty()) << "the replaced widget's end is not the control's";
        EXPECT_EQ(heardOfInput(), bridged);
    }

    delete dialog->GetWndPtr();
    EXPECT_EQ(ends, std::vector<BaseGUIObject*>{edit});
}

TEST_F(DateEditFormTest, AHandlerBoundToTheControlRunsForTheReplacement)
{
    std::vector<int> days;
    edit->OnDateTimeChanged.AddBound(edit, [&days](ZrDateTime value) { days.push_back(value.day); });
    edit->SetMode(DateEdit::TimeOnly);
    edit->SetMode(DateEdit::DateOnly);
    QCoreApplication::sendPostedEvents();
    days.clear();

    ASSERT_TRUE(edit->SetDateTime(ZrDateTime{2024, 3, 4, 0, 0, 0}));
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(days, std::vector<int>{4});
}

TEST_F(DateEditFormTest, TimersOutliveEveryReplacementUnderTheCallersIds)
{
    using testing::AnyOfArray;
    using testing::Each;
    QtWarnings warnings;
    const int first = edit->SetTimer(0, 1);
    const int second = edit->SetTimer(0, 1);
    edit->KillTimer(static_cast<unsigned>(edit->SetTimer(0, 1)));
    const std::vector<int> both{first, second};

    edit->SetMode(DateEdit::TimeOnly);
    ASSERT_TRUE(Hears(both));
    QWidget* before = edit->GetWndPtr();
    edit->SetMode(DateEdit::DateOnly);
    ASSERT_NE(edit->GetWndPtr(), before);
    FlushDeletes();
    ASSERT_TRUE(Hears(both)) << "into a date mode";
    EXPECT_THAT(ticks, Each(AnyOfArray(both))) << "a timer stopped before the switch stays stopped";

    const int third = edit->SetTimer(0, 1);
    const std::vector<int> all{first, second, third};
    for (DateEdit::DateEditMode mode : {DateEdit::TimeOnly, DateEdit::DateAndTime, DateEdit::DateOnly}) {
        SCOPED_TRACE(mode);
        edit->SetMode(mode);
        FlushDeletes();
        ASSERT_TRUE(Hears(all));
        EXPECT_THAT(ticks, Each(AnyOfArray(all)));
    }

    edit->KillTimer(static_cast<unsigned>(first));
    ASSERT_TRUE(Hears({second, third}, 3));
    EXPECT_THAT(ticks, Each(AnyOfArray({second, third})));
    edit->KillTimer(static_cast<unsigned>(second));
    edit->KillTimer(static_cast<unsigned>(third));
    EXPECT_THAT(HeardInAWhile(), testing::IsEmpty());
    EXPECT_THAT(warnings.lines, testing::IsEmpty());
}

TEST_F(DateEditFormTest, AnIdOfNoRunningTimerStopsNothingAndIsQtsToReport)
{
    edit->SetMode(DateEdit::TimeOnly);
    edit->SetMode(DateEdit::DateOnly);
    const int running = edit->SetTimer(0, 1);
    const int killed = edit->SetTimer(0, 1);
    edit->KillTimer(static_cast<unsigned>(killed));
    for (const int id : {killed, 99999}) {
        SCOPED_TRACE(id);
        QtWarnings warnings;
        edit->KillTimer(static_cast<unsigned>(id));
        EXPECT_THAT(warnings.lines, testing::ElementsAre(testing::HasSubstr("killTimer")));
        EXPECT_TRUE(Hears({running}));
    }
    edit->KillTimer(static_cast<unsigned>(running));
}

TEST_F(DateEditFormTest, TimersEndWithTheControl)
{
    QtWarnings warnings;
    edit->SetMode(DateEdit::TimeOnly);
    edit->SetMode(DateEdit::DateOnly);
    FlushDeletes();
    const std::vector<int> timers{edit->SetTimer(0, 1), edit->SetTimer(0, 1)};
    ASSERT_TRUE(Hears(timers));
    const std::weak_ptr<BaseGUIObject> control = dialog->GetElementByName(L"dteWhen");
    QPointer<QWidget> window = dialog->GetWndPtr();

    dialog.reset();
    edit = nullptr;
    EXPECT_THAT(HeardInAWhile(), testing::IsEmpty()) << "nothing is bridged once the dialog is gone";
    ASSERT_TRUE(window) << "a shown window outlives its dialog";
    delete window.data();
    EXPECT_TRUE(control.expired()) << "the control went with its widget";
    QTest::qWait(20);
    EXPECT_THAT(warnings.lines, testing::IsEmpty());
}

TEST_F(DateEditFormTest, AProcedureMayStopItsTimerAndReplaceTheWidgetOnATick)
{
    QtWarnings warnings;
    edit->SetMode(DateEdit::TimeOnly);
    QPointer<QWidget> before = edit->GetWndPtr();
    const int steady = edit->SetTimer(0, 1);
    const int once = edit->SetTimer(0, 1);
    int heardOnce = 0;
    edit->SetEventProcedure([&](BaseGUIObject*, Event* event) {
        if (event->type != Event::Timer)
            return false;
        const int id = static_cast<TimerEvent*>(event)->timerId;
        ticks.push_back(id);
        if (id == once) {
            ++heardOnce;
            edit->KillTimer(static_cast<unsigned>(once));
            edit->SetMode(DateEdit::DateOnly);
        }
        return false;
    });

    ASSERT_TRUE(QTest::qWaitFor([&] { return heardOnce > 0; }, kWaitBoundMs));
    FlushDeletes();
    EXPECT_FALSE(before) << "replaced during the tick";
    ASSERT_TRUE(Hears({steady}, 3));
    EXPECT_EQ(heardOnce, 1);
    EXPECT_THAT(ticks, testing::Each(steady));
    edit->KillTimer(static_cast<unsigned>(steady));
    EXPECT_THAT(warnings.lines, testing::IsEmpty());
}
