#include "ListBoxFixture.h"

#include "ComboBox.h"
#include "DateEdit.h"
#include "Edit.h"
#include "ListBoxItemDelegate.h"

#include <QComboBox>
#include <QDateTimeEdit>
#include <QLineEdit>
#include <QLocale>
#include <QWheelEvent>

#include <functional>
#include <utility>

using namespace AUILib;
using ListBoxTesting::Texts;

namespace {

std::string Narrow(const std::wstring& text)
{
    return QString::fromStdWString(text).toStdString();
}

class ListBoxEditorsTest : public ListBoxTesting::ListBoxFixture
{
protected:
    void SetUp() override
    {
        ListBoxFixture::SetUp();
        list->SetColumnsCount(3);
        Fill();
        list->SetColumnEditMode(1, ListBox::ComboBoxEditor);
        list->SetColumnEditMode(2, ListBox::DateEditor);
        list->OnEditorCreated.Add([this](int row, int column, BaseGUIObject* editor) {
            Log("created", row * 10 + column);
            lastEditor = editor;
            if (auto* combo = dynamic_cast<ComboBox*>(editor)) {
                for (const wchar_t* colour : {L"red", L"green", L"blue"})
                    combo->AddItem(colour, any());
            }
        });
        list->OnEditFinished.Add([this](int row) { Log("finished", row); });
        list->OnEditStarted.Add([this](int row, Edit* edit) {
            Log("started", row);
            startedEdit = edit;
        });
        list->OnItemTextEdited.Add([this](int row, int column, std::wstring before, std::wstring after) {
            edits.push_back(std::to_string(row) + "," + std::to_string(column) + ": " + Narrow(before) + " -> " +
                            Narrow(after));
        });
    }

    void Fill()
    {
        for (const wchar_t* text : {L"b", L"a", L"c"}) {
            auto texts = Texts({text, L"red", L"2024-03-05T14:30:00"});
            list->AddItemEx(texts, any());
        }
    }

    // The list as SetUp leaves it, for each case of a table: selection shown, unsorted, single selection.
    void StartOver()
    {
        list->ShowSelection(true);
        list->SortColumn(-1, ListBox::Ascending, false);
        list->SetSingleSelection(true);
        list->Clear();
        Fill();
    }

    // Double-clicks the cell; returns the editor widget that opened, or null.
    QWidget* Open(int row, int column)
    {
        const QPoint point = RowCentre(row, column);
        QCursor::setPos(table()->viewport()->mapToGlobal(point));
        lastEditor = nullptr;
        // QTest sends a widget the double click alone; the view wants the press before it.
        QTest::mouseClick(table()->viewport(), Qt::LeftButton, Qt::NoModifier, point);
        QTest::mouseDClick(table()->viewport(), Qt::LeftButton, Qt::NoModifier, point);
        QTest::mouseRelease(table()->viewport(), Qt::LeftButton, Qt::NoModifier, point);
        return lastEditor ? lastEditor->GetPlatformHandle() : nullptr;
    }

    // The log's entries of these kinds, in order.
    std::vector<std::string> Reports(std::initializer_list<const char*> kinds) const
    {
        std::vector<std::string> reports;
        for (const std::string& entry : log) {
            for (const char* kind : kinds) {
                if (entry.rfind(kind, 0) == 0)
                    reports.push_back(entry);
            }
        }
        return reports;
    }

    // The editing reports in the log, without the selection's and the cells'.
    std::vector<std::string> EditReports() const { return Reports({"started", "created", "finished"}); }

    // A value of the editor's kind that differs from the fixture's cells.
    static void EnterNewValue(QWidget* editor)
    {
        if (auto* line = qobject_cast<QLineEdit*>(editor))
            line->setText(QStringLiteral("typed"));
        else if (auto* combo = qobject_cast<QComboBox*>(editor))
            combo->setCurrentIndex(2);
        else if (auto* date = qobject_cast<QDateTimeEdit*>(editor))
            date->setDate(QDate(2025, 1, 1));
    }

    // Return commits and closes once the editor has had the key: Qt queues it.
    static void PressReturn(QWidget* editor)
    {
        QTest::keyClick(editor, Qt::Key_Return);
        QCoreApplication::processEvents();
    }

    static QString ShortDate(const QDate& date) { return date.toString(QLocale::system().dateFormat(QLocale::ShortFormat)); }

    // Each date editor opens time only, so that a switch to a date mode puts a new widget in place of
    // the one the view holds; `openedDate` is the last one.
    void OpenDatesTimeOnly()
    {
        list->OnEditorCreated.Add([this](int, int, BaseGUIObject* editor) {
            if (auto* date = dynamic_cast<DateEdit*>(editor)) {
                date->SetMode(DateEdit::TimeOnly);
                openedDate = date;
            }
        });
    }

    BaseGUIObject* lastEditor = nullptr;
    DateEdit* openedDate = nullptr;
    Edit* startedEdit = nullptr;
    std::vector<std::string> edits;
};

} // namespace

TEST_F(ListBoxEditorsTest, ModesDecideWhichCellsOpenAnEditor)
{
    EXPECT_EQ(Open(0, 1), nullptr) << "no editing until it is switched on";
    list->SetEditItems(ListBox::Editable(1));
    list->SetItemEditMode(1, 1, ListBox::NoEdit);
    EXPECT_EQ(Open(1, 1), nullptr) << "an item that is not editable";
    QWidget* combo = Open(0, 1);
    ASSERT_NE(combo, nullptr);
    EXPECT_TRUE(qobject_cast<QComboBox*>(combo));
    EXPECT_EQ(combo->parentWidget(), table()) << "a child of the table, placed below the header";
    EXPECT_EQ(static_cast<QComboBox*>(combo)->count(), 3) << "filled by the handler";
    EXPECT_EQ(log.back(), "created 1");
    EXPECT_EQ(table()->palette().color(QPalette::Highlight), table()->palette().color(QPalette::Base))
        << "the selection is hidden while editing";
}

TEST_F(ListBoxEditorsTest, AComboBoxChoiceIsReported)
{
    list->SetEditItems(ListBox::Editable(1));
    auto* combo = qobject_cast<QComboBox*>(Open(2, 1));
    ASSERT_NE(combo, nullptr);
    combo->setCurrentIndex(2);
    PressReturn(combo);
    EXPECT_EQ(list->GetItem(2, 1), L"blue");
    EXPECT_EQ(edits, std::vector<std::string>{"2,1: red -> blue"});
    EXPECT_EQ(log.back(), "finished 2");
    EXPECT_NE(table()->palette().color(QPalette::Highlight), table()->palette().color(QPalette::Base));
}

TEST_F(ListBoxEditorsTest, EditingTheSortColumnReportsTheRowItMovedTo)
{
    list->SetColumnEditMode(0, ListBox::ComboBoxEditor);
    list->SortColumn(0, ListBox::Ascending, true);
    list->SetEditItems(ListBox::Editable(3));
    auto* combo = qobject_cast<QComboBox*>(Open(0, 0));
    ASSERT_NE(combo, nullptr);
    combo->setCurrentIndex(2);
    PressReturn(combo);
    EXPECT_EQ(Column(0), (std::vector<std::wstring>{L"b", L"blue", L"c"}));
    EXPECT_EQ(edits, std::vector<std::string>{"1,0: a -> blue"});
    EXPECT_EQ(std::count(log.begin(), log.end(), "finished 0"), 0) << "setting 3 reports no finish";
}

TEST_F(ListBoxEditorsTest, DatesRoundTripInTheSystemsShortForm)
{
    list->SetEditItems(ListBox::Editable(1));
    auto* date = qobject_cast<QDateTimeEdit*>(Open(1, 2));
    ASSERT_NE(date, nullptr);
    EXPECT_EQ(date->date(), QDate(2024, 3, 5)) << "the ISO text is read";
    date->setDate(QDate(2025, 12, 24));
    PressReturn(date);
    const QString before = ShortDate(QDate(2024, 3, 5)) + QStringLiteral(" 14:30");
    const QString after = ShortDate(QDate(2025, 12, 24));
    ASSERT_EQ(edits.size(), 1u);
    EXPECT_EQ(edits[0], "1,2: " + before.toStdString() + " -> " + after.toStdString());
    if (QLocale::system().name().startsWith(QLatin1String("de"))) {
        EXPECT_EQ(after, QStringLiteral("24.12.25"));
    }

    // The display form the editor wrote back opens at the same date.
    date = qobject_cast<QDateTimeEdit*>(Open(1, 2));
    ASSERT_NE(date, nullptr);
    EXPECT_EQ(date->date(), QDate(2025, 12, 24));
    PressReturn(date);
    EXPECT_EQ(list->GetItem(1, 2), after.toStdWString());
}

TEST_F(ListBoxEditorsTest, TheWheelClosesTheEditorWithoutStoringIt)
{
    list->SetEditItems(ListBox::Editable(1));
    auto* combo = qobject_cast<QComboBox*>(Open(0, 1));
    ASSERT_NE(combo, nullptr);
    combo->setCurrentIndex(1);
    const QPointer<QWidget> guard(combo);
    const QPoint point = RowCentre(2, 0);
    QWheelEvent wheel(point, table()->viewport()->mapToGlobal(point), QPoint(), QPoint(0, -120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(table()->viewport(), &wheel);
    EXPECT_EQ(list->GetItem(0, 1), L"red");
    EXPECT_EQ(edits, std::vector<std::string>{"0,1: red -> red"});
    EXPECT_EQ(log.back(), "finished 0");
    EXPECT_TRUE(!guard || guard->isHidden()) << "the editor is gone";
}

TEST_F(ListBoxEditorsTest, TheListMayGoWhileAnEditorHasFocus)
{
    list->SetEditItems(ListBox::Editable(1));
    QWidget* date = Open(0, 2);
    ASSERT_NE(date, nullptr);
    date->setFocus();
    tester.reset();
    delete table();
    EXPECT_EQ(list->Count(), -1);
    list.reset();
}

TEST_F(ListBoxEditorsTest, TheControlGoingFirstLeavesAWorkingTable)
{
    list->SetEditItems(ListBox::Editable(1));
    QWidget* combo = Open(0, 1);
    ASSERT_NE(combo, nullptr);
    QTableWidget* plain = table();
    tester.reset();
    list.reset();
    PressReturn(combo);
    EXPECT_EQ(plain->rowCount(), 3);
}

TEST_F(ListBoxEditorsTest, TypedTextIsReportedWithTheTextItReplaced)
{
    list->SetEditItems(ListBox::Editable(1));
    auto* line = qobject_cast<QLineEdit*>(Open(1, 0));
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(static_cast<BaseGUIObject*>(startedEdit), lastEditor);
    EXPECT_EQ(line->text(), QStringLiteral("a"));
    EXPECT_TRUE(line->styleSheet().contains(
        QStringLiteral("border: 1px solid #%1;").arg(QPalette().color(QPalette::Highlight).rgb(), 0, 16)));
    line->selectAll();
    QTest::keyClicks(line, QStringLiteral("apple"));
    PressReturn(line);
    EXPECT_EQ(list->GetItem(1, 0), L"apple");
    EXPECT_EQ(edits, std::vector<std::string>{"1,0: a -> apple"});
    EXPECT_EQ(EditReports(), (std::vector<std::string>{"started 1", "created 10", "finished 1"}));
}

TEST_F(ListBoxEditorsTest, ALineEditWithoutEditingSwitchedOnOnlyForItsColumnMode)
{
    list->SetEditItems(ListBox::Editable(1));
    list->SetEditItems(ListBox::NotEditable);
    table()->setEditTriggers(QAbstractItemView::DoubleClicked);
    EXPECT_EQ(Open(0, 0), nullptr) << "no column mode";
    list->SetColumnEditMode(0, ListBox::EditEditor);
    QWidget* line = Open(0, 0);
    ASSERT_NE(line, nullptr);
    EXPECT_TRUE(line->styleSheet().isEmpty()) << "the plain look";
    PressReturn(line);
    EXPECT_EQ(edits, std::vector<std::string>{"0,0: b -> b"});
}

TEST_F(ListBoxEditorsTest, SettingThreeReportsNeitherStartNorFinish)
{
    list->SetEditItems(ListBox::Editable(3));
    QWidget* line = Open(2, 0);
    ASSERT_NE(line, nullptr);
    PressReturn(line);
    EXPECT_EQ(EditReports(), std::vector<std::string>{"created 20"});
    EXPECT_EQ(edits.size(), 1u);
}

TEST_F(ListBoxEditorsTest, ShowingTheSelectionClosesAnOpenEditorWithoutStoring)
{
    list->SetEditItems(ListBox::Editable(2));
    auto* line = qobject_cast<QLineEdit*>(Open(1, 0));
    ASSERT_NE(line, nullptr);
    line->setText(QStringLiteral("not kept"));
    list->ShowSelection(true);
    EXPECT_EQ(list->GetItem(1, 0), L"a");
    EXPECT_EQ(edits, std::vector<std::string>{"1,0: a -> a"});
}

TEST_F(ListBoxEditorsTest, AFinishHandlerMayShowTheSelection)
{
    list->SetEditItems(ListBox::Editable(1));
    list->OnEditFinished.Add([this](int) { list->ShowSelection(true); });
    auto* line = qobject_cast<QLineEdit*>(Open(1, 0));
    ASSERT_NE(line, nullptr);
    line->setText(QStringLiteral("typed"));
    PressReturn(line);
    EXPECT_EQ(edits, std::vector<std::string>{"1,0: a -> typed"});
    EXPECT_EQ(EditReports(), (std::vector<std::string>{"started 1", "created 10", "finished 1"}));
}

TEST_F(ListBoxEditorsTest, AFinishHandlerMayChangeTheRows)
{
    struct Case
    {
        const char* name;
        std::function<void(ListBox&)> changeRows;
        std::vector<std::string> edits;
    };
    // Typed text on "a", row 1 of b, a, c, is taken by Return; the finish handler then changes the rows.
    const Case cases[] = {
        {"the edited row deleted", [](ListBox& l) { l.DeleteItem(1); }, {}},
        {"every row cleared", [](ListBox& l) { l.Clear(); }, {}},
        {"the row above deleted", [](ListBox& l) { l.DeleteItem(0); }, {"0,0: a -> typed"}},
        {"the row below deleted", [](ListBox& l) { l.DeleteItem(2); }, {"1,0: a -> typed"}},
        {"the rows sorted", [](ListBox& l) { l.SortColumn(0, ListBox::Descending, true); }, {"0,0: a -> typed"}},
    };
    const Case* current = nullptr;
    list->OnEditFinished.Add([this, &current](int) {
        if (current)
            std::exchange(current, nullptr)->changeRows(*list);
    });
    list->SetEditItems(ListBox::Editable(1));
    for (const Case& c : cases) {
        StartOver();
        QWidget* line = Open(1, 0);
        ASSERT_NE(line, nullptr) << c.name;
        EnterNewValue(line);
        edits.clear();
        current = &c;
        PressReturn(line);
        EXPECT_EQ(edits, c.edits) << c.name;
    }
}

TEST_F(ListBoxEditorsTest, AFinishHandlerMayLetTheListGo)
{
    list->SetEditItems(ListBox::Editable(1));
    list->OnEditFinished.Add([this](int) {
        tester.reset();
        list.reset();
    });
    QWidget* line = Open(1, 0);
    ASSERT_NE(line, nullptr);
    QTableWidget* plain = table();
    PressReturn(line);
    EXPECT_EQ(list, nullptr);
    EXPECT_EQ(plain->rowCount(), 3);
}

TEST_F(ListBoxEditorsTest, AnEditorWhoseRowLeftReportsNothing)
{
    struct Case
    {
        const char* name;
        std::function<void(ListBox&)> changeRows;
        bool runEvents;
        bool stillOpen;
        std::vector<std::string> reports;
        std::vector<std::string> edits;
    };
    // The editor is open on "a", row 1, and the selection is then hidden, which closes editors.
    const Case cases[] = {
        {"its row deleted", [](ListBox& l) { l.DeleteItem(1); }, false, false, {}, {}},
        {"its row deleted, events run", [](ListBox& l) { l.DeleteItem(1); }, true, false, {}, {}},
        {"all rows cleared", [](ListBox& l) { l.Clear(); }, true, false, {}, {}},
        {"the row above deleted", [](ListBox& l) { l.DeleteItem(0); }, true, true, {"finished 0"}, {"0,0: a -> a"}},
        {"a row inserted above", [](ListBox& l) { l.InsertItem(0, L"z", any()); }, true, true, {"finished 2"},
         {"2,0: a -> a"}},
    };
    list->SetEditItems(ListBox::Editable(1));
    for (const Case& c : cases) {
        StartOver();
        ASSERT_NE(Open(1, 0), nullptr) << c.name;
        log.clear();
        edits.clear();
        c.changeRows(*list);
        if (c.runEvents)
            QCoreApplication::processEvents();
        EXPECT_EQ(table()->palette().color(QPalette::Highlight) == table()->palette().color(QPalette::Base),
                  c.stillOpen)
            << c.name << ": the selection shows again once the editor has gone";
        list->ShowSelection(false);
        EXPECT_EQ(EditReports(), c.reports) << c.name;
        EXPECT_EQ(edits, c.edits) << c.name;
    }
}

TEST_F(ListBoxEditorsTest, AnEditorWhoseRowLeavesStoresNothing)
{
    struct Case
    {
        const char* name;
        std::function<void(ListBox&)> prepare;
        int column;
        bool enterValue;
        std::function<void(ListBox&)> changeRows;
        bool takeValue;
        std::vector<std::string> changes;
        std::vector<std::wstring> firstColumn;
    };
    const auto none = [](ListBox&) {};
    const auto deleteEdited = [](ListBox& l) { l.DeleteItem(1); };
    // The editor opens on row 1 of b, a, c. A date editor stores its display form, never the cell's
    // ISO text, so it would write even when nothing was chosen.
    const Case cases[] = {
        {"an untouched date editor, its row deleted", none, 2, false, deleteEdited, false, {}, {L"b", L"c"}},
        {"typed text, its row deleted", none, 0, true, deleteEdited, false, {}, {L"b", L"c"}},
        {"a combo box choice, its row deleted as a range", none, 1, true,
         [](ListBox& l) { l.DeleteItems(1, 1); }, false, {}, {L"b", L"c"}},
        {"typed text, every row cleared", none, 0, true, [](ListBox& l) { l.Clear(); }, false, {}, {}},
        {"typed text, its row deleted with nothing selected in multi-selection",
         [](ListBox& l) { l.SetSingleSelection(false); }, 0, true,
         [](ListBox& l) {
             l.ClearSel();
             l.DeleteItem(1);
         },
         false, {}, {L"b", L"c"}},
        // Stored on its way out, the text would re-sort the leaving row and another would go in its place.
        {"typed text in the sort column, its row deleted",
         [](ListBox& l) { l.SortColumn(0, ListBox::Ascending, true); }, 0, true, deleteEdited, false, {},
         {L"a", L"c"}},
        {"typed text, the row above deleted, then taken", none, 0, true, [](ListBox& l) { l.DeleteItem(0); }, true,
         {"changed 0"}, {L"typed", L"c"}},
        {"typed text, a row inserted above, then taken", none, 0, true,
         [](ListBox& l) { l.InsertItem(0, L"z", any()); }, true, {"changed 0", "changed 2"},
         {L"z", L"b", L"typed", L"c"}},
        {"a combo box choice, the rows sorted, then taken", none, 1, true,
         [](ListBox& l) { l.SortColumn(0, ListBox::Descending, true); }, true, {"changed 2"}, {L"c", L"b", L"a"}},
    };
    list->SetEditItems(ListBox::Editable(1));
    for (const Case& c : cases) {
        StartOver();
        c.prepare(*list);
        QWidget* editor = Open(1, c.column);
        ASSERT_NE(editor, nullptr) << c.name;
        if (c.enterValue)
            EnterNewValue(editor);
        log.clear();
        c.changeRows(*list);
        QCoreApplication::processEvents();
        if (c.takeValue)
            PressReturn(editor);
        EXPECT_EQ(Reports({"changed"}), c.changes) << c.name;
        EXPECT_EQ(Column(0), c.firstColumn) << c.name;
    }
}

TEST_F(ListBoxEditorsTest, AnEditorReportsOnceOnItsRowHoweverItCloses)
{
    struct Case
    {
        const char* name;
        std::function<void(ListBox&)> prepare;
        int row;
        int column;
        std::function<void(QWidget* editor)> close;
        std::vector<std::string> reports;
        std::vector<std::string> edits;
        std::vector<std::string> changes;
    };
    const auto none = [](ListBox&) {};
    const auto moveCurrentTo = [this](int row) { return [this, row](QWidget*) { list->SetSel(row, true, true); }; };
    // An untouched date editor stores its display form, never the cell's ISO text.
    const std::string dateBefore = (ShortDate(QDate(2024, 3, 5)) + QStringLiteral(" 14:30")).toStdString();
    const std::string dateAfter = ShortDate(QDate(2024, 3, 5)).toStdString();
    QLineEdit elsewhere(&window);
    elsewhere.setGeometry(0, 200, 100, 20);
    elsewhere.show();
    // Each editor opens on the list b, a, c; all but the date editor are given a new value.
    const Case cases[] = {
        {"Return", none, 0, 0, [](QWidget* editor) { PressReturn(editor); }, {"finished 0"}, {"0,0: b -> typed"},
         {"changed 0"}},
        {"Escape stores nothing", none, 0, 0,
         [](QWidget* editor) {
             QTest::keyClick(editor, Qt::Key_Escape);
             QCoreApplication::processEvents();
         },
         {"finished 0"}, {"0,0: b -> b"}, {}},
        {"the focus leaving", none, 0, 0,
         [&elsewhere](QWidget* editor) {
             editor->setFocus();
             elsewhere.setFocus();
             QCoreApplication::processEvents();
         },
         {"finished 0"}, {"0,0: b -> typed"}, {"changed 0"}},
        // The next cell's editor is closed in turn by the click that opens the last one.
        {"Tab opening the next cell's editor", none, 0, 0,
         [](QWidget* editor) {
             QTest::keyClick(editor, Qt::Key_Tab);
             QCoreApplication::processEvents();
         },
         {"finished 0", "created 1", "finished 0"}, {"0,0: b -> typed", "0,1: red -> red"}, {"changed 0"}},
        {"the program moving the current row", none, 0, 0, moveCurrentTo(2), {"finished 0"}, {"0,0: b -> typed"},
         {"changed 0"}},
        {"the program moving the current cell along the row", none, 0, 1, moveCurrentTo(0), {"finished 0"},
         {"0,1: red -> blue"}, {"changed 0"}},
        {"another row deleted with nothing selected in multi-selection",
         [](ListBox& l) { l.SetSingleSelection(false); }, 0, 0,
         [this](QWidget*) {
             list->ClearSel();
             list->DeleteItem(1);
         },
         {"finished 0"}, {"0,0: b -> typed"}, {"changed 0"}},
        {"an untouched date editor, the current row moved", none, 0, 2, moveCurrentTo(2), {"finished 0"},
         {"0,2: " + dateBefore + " -> " + dateAfter}, {"changed 0"}},
        {"a row inserted above, then the current row moved", none, 1, 0,
         [this](QWidget*) {
             list->InsertItem(0, L"z", any());
             list->SetSel(0, true, true);
         },
         {"finished 2"}, {"2,0: a -> typed"}, {"changed 0", "changed 2"}},
        {"the rows sorted, then the current row moved", none, 1, 1,
         [this](QWidget*) {
             list->SortColumn(0, ListBox::Descending, true);
             list->SetSel(0, true, true);
         },
         {"finished 2"}, {"2,1: red -> blue"}, {"changed 2"}},
        {"the current row moved in a disabled window", none, 0, 0,
         [this](QWidget* editor) {
             editor->setFocus();
             window.setEnabled(false);
             list->SetSel(2, true, true);
             window.setEnabled(true);
         },
         {"finished 0"}, {"0,0: b -> typed"}, {"changed 0"}},
        {"the current row moved before Qt took a Return", none, 0, 0,
         [this](QWidget* editor) {
             QTest::keyClick(editor, Qt::Key_Return);
             list->SetSel(2, true, true);
             QCoreApplication::processEvents();
         },
         {"finished 0"}, {"0,0: b -> typed"}, {"changed 0"}},
    };
    QApplication::setActiveWindow(&window);
    list->SetEditItems(ListBox::Editable(1));
    for (const Case& c : cases) {
        StartOver();
        c.prepare(*list);
        QWidget* editor = Open(c.row, c.column);
        ASSERT_NE(editor, nullptr) << c.name;
        if (c.column != 2)
            EnterNewValue(editor);
        log.clear();
        edits.clear();
        c.close(editor);
        EXPECT_EQ(Reports({"changed"}), c.changes) << c.name;
        // The list works on as before: the next editor reports its own edit alone and shows the selection again.
        const int last = list->Count() - 1;
        const std::string lastText = Narrow(list->GetItem(last, 0));
        PressReturn(Open(last, 0));
        std::vector<std::string> reports = c.reports;
        reports.insert(reports.end(), {"started " + std::to_string(last), "created " + std::to_string(last * 10),
                                       "finished " + std::to_string(last)});
        EXPECT_EQ(EditReports(), reports) << c.name;
        std::vector<std::string> allEdits = c.edits;
        allEdits.push_back(std::to_string(last) + ",0: " + lastText + " -> " + lastText);
        EXPECT_EQ(edits, allEdits) << c.name;
        EXPECT_NE(table()->palette().color(QPalette::Highlight), table()->palette().color(QPalette::Base)) << c.name;
    }
}

// A change handler closes the editor as Tab or Shift+Tab stores its text: the key moves nowhere, as
// the editor it came from is no longer open.
TEST_F(ListBoxEditorsTest, TabFromAnEditorThatAChangeHandlerClosedOpensNoOther)
{
    QApplication::setActiveWindow(&window);
    list->SetEditItems(ListBox::Editable(1));
    bool closeOnChange = false;
    list->OnItemChanged.Add([&](int) {
        if (std::exchange(closeOnChange, false))
            list->ShowSelection(true);
    });
    for (const Qt::Key key : {Qt::Key_Tab, Qt::Key_Backtab}) {
        StartOver();
        QWidget* line = Open(1, 0);
        ASSERT_NE(line, nullptr) << key;
        EnterNewValue(line);
        line->setFocus();
        log.clear();
        edits.clear();
        closeOnChange = true;
        QTest::keyClick(line, key);
        QCoreApplication::processEvents();
        EXPECT_EQ(EditReports(), std::vector<std::string>{"finished 1"}) << key;
        EXPECT_EQ(edits, std::vector<std::string>{"1,0: a -> typed"}) << key;
        EXPECT_EQ(table()->currentIndex(), table()->model()->index(1, 0)) << key;
    }
}

TEST_F(ListBoxEditorsTest, AnEditorOpenedByAReportHandlerStoresAndReportsItsEdit)
{
    enum Report { Finished, TextEdited };
    struct Case
    {
        const char* name;
        Report opensFrom;
        // Run once, while the editor on "a", row 1 of b, a, c, reports the text typed in it.
        std::function<void()> handle;
        std::function<void(QWidget* editor)> closeFirst;
        // Closes the editor the handler opened, if one stayed open.
        std::function<void(QWidget* editor)> close;
        std::vector<std::string> reports;
        std::vector<std::string> edits;
        std::vector<std::wstring> firstColumn;
    };
    const auto openCell = [this](int row, int column) { table()->editItem(table()->item(row, column)); };
    const auto pressReturn = [](QWidget* editor) { PressReturn(editor); };
    const auto showSelection = [this](QWidget*) { list->ShowSelection(true); };
    QLineEdit elsewhere(&window);
    elsewhere.setGeometry(0, 200, 100, 20);
    elsewhere.show();
    const std::vector<std::string> firstReports{"finished 1"};
    const auto withFirst = [&firstReports](std::vector<std::string> next) {
        next.insert(next.begin(), firstReports.begin(), firstReports.end());
        return next;
    };
    const std::vector<std::string> nextRowReports = withFirst({"started 2", "created 20", "finished 2"});
    // The handler's editor is given "next" before it closes.
    const Case cases[] = {
        {"the finish handler goes on to the next row", Finished, [&] { openCell(2, 0); }, pressReturn, pressReturn,
         nextRowReports, {"1,0: a -> typed", "2,0: c -> next"}, {L"b", L"typed", L"next"}},
        {"the text handler refuses the value and edits the cell again", TextEdited,
         [&] {
             list->SetItemText(1, 0, L"a");
             openCell(1, 0);
         },
         pressReturn, pressReturn, withFirst({"started 1", "created 10", "finished 1"}), {"1,0: a -> typed", "1,0: a -> next"},
         {L"b", L"next", L"c"}},
        {"the finish handler edits the closing cell again", Finished, [&] { openCell(1, 0); }, pressReturn, pressReturn,
         withFirst({"started 1", "created 10", "finished 1"}), {"1,0: a -> typed", "1,0: typed -> next"},
         {L"b", L"next", L"c"}},
        // The view takes one editor at a time: the second cell is not opened.
        {"the finish handler opens one cell and then another", Finished,
         [&] {
             openCell(2, 0);
             openCell(0, 0);
         },
         pressReturn, pressReturn, nextRowReports, {"1,0: a -> typed", "2,0: c -> next"}, {L"b", L"typed", L"next"}},
        {"Escape on the handler's editor", Finished, [&] { openCell(2, 0); }, pressReturn,
         [](QWidget* editor) {
             QTest::keyClick(editor, Qt::Key_Escape);
             QCoreApplication::processEvents();
         },
         nextRowReports, {"1,0: a -> typed", "2,0: c -> c"}, {L"b", L"typed", L"c"}},
        {"the focus leaving the handler's editor", Finished, [&] { openCell(2, 0); }, pressReturn,
         [&elsewhere](QWidget* editor) {
             editor->setFocus();
             elsewhere.setFocus();
             QCoreApplication::processEvents();
         },
         nextRowReports, {"1,0: a -> typed", "2,0: c -> next"}, {L"b", L"typed", L"next"}},
        {"the finish handler goes on to the next row when showing the selection closed the editor", Finished,
         [&] { openCell(2, 0); }, showSelection, pressReturn, nextRowReports, {"1,0: a -> a", "2,0: c -> next"},
         {L"b", L"a", L"next"}},
        {"the text handler deletes the row it opened", TextEdited,
         [&] {
             openCell(2, 0);
             list->DeleteItem(2);
         },
         pressReturn, nullptr, withFirst({"started 2", "created 20"}), {"1,0: a -> typed"}, {L"b", L"typed"}},
        {"the text handler clears the list after opening a cell", TextEdited,
         [&] {
             openCell(2, 0);
             list->Clear();
         },
         pressReturn, nullptr, withFirst({"started 2", "created 20"}), {"1,0: a -> typed"}, {}},
    };
    std::function<void()> pending;
    const auto runPending = [&pending] {
        if (pending)
            std::exchange(pending, nullptr)();
    };
    const Case* current = nullptr;
    QPointer<QWidget> opened;
    list->OnEditorCreated.Add([&opened](int, int, BaseGUIObject* editor) { opened = editor->GetPlatformHandle(); });
    list->OnEditFinished.Add([&](int) {
        if (current && current->opensFrom == Finished)
            runPending();
    });
    list->OnItemTextEdited.Add([&](int, int, std::wstring, std::wstring) {
        if (current && current->opensFrom == TextEdited)
            runPending();
    });
    QApplication::setActiveWindow(&window);
    list->SetEditItems(ListBox::Editable(1));
    for (const Case& c : cases) {
        current = nullptr;
        StartOver();
        QWidget* first = Open(1, 0);
        ASSERT_NE(first, nullptr) << c.name;
        EnterNewValue(first);
        log.clear();
        edits.clear();
        opened = nullptr;
        current = &c;
        pending = c.handle;
        c.closeFirst(first);
        QWidget* next = opened;
        if (c.close) {
            ASSERT_NE(next, nullptr) << c.name;
            EXPECT_TRUE(next->isVisible()) << c.name;
            EXPECT_EQ(table()->palette().color(QPalette::Highlight), table()->palette().color(QPalette::Base))
                << c.name << ": the selection stays hidden while the handler's editor is open";
            qobject_cast<QLineEdit*>(next)->setText(QStringLiteral("next"));
            c.close(next);
        }
        EXPECT_EQ(EditReports(), c.reports) << c.name;
        EXPECT_EQ(edits, c.edits) << c.name;
        EXPECT_EQ(Column(0), c.firstColumn) << c.name;
        EXPECT_NE(table()->palette().color(QPalette::Highlight), table()->palette().color(QPalette::Base)) << c.name;
    }
}

// In an inactive window no focus moves, and both editors stay open.
TEST_F(ListBoxEditorsTest, AnEditorOpenedWhileAnotherOpensReportsItsOwnCell)
{
    list->SetEditItems(ListBox::Editable(1));
    QWidget* second = nullptr;
    list->OnEditStarted.Add([this, &second](int row, Edit*) {
        if (row == 0)
            return;
        table()->editItem(table()->item(0, 0));
        second = lastEditor->GetPlatformHandle();
    });
    auto* first = qobject_cast<QLineEdit*>(Open(2, 0));
    auto* other = qobject_cast<QLineEdit*>(second);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(other, nullptr);
    ASSERT_NE(first, other);
    first->setText(QStringLiteral("third"));
    other->setText(QStringLiteral("first"));
    PressReturn(first);
    EXPECT_EQ(edits, std::vector<std::string>{"2,0: c -> third"});
    EXPECT_EQ(table()->palette().color(QPalette::Highlight), table()->palette().color(QPalette::Base))
        << "the selection stays hidden while the other editor is open";
    other->setFocus();
    PressReturn(other);
    EXPECT_EQ(edits, (std::vector<std::string>{"2,0: c -> third", "0,0: b -> first"}));
    EXPECT_EQ(Column(0), (std::vector<std::wstring>{L"first", L"a", L"third"}));
    EXPECT_NE(table()->palette().color(QPalette::Highlight), table()->palette().color(QPalette::Base));
}

TEST_F(ListBoxEditorsTest, TheListMayGoWhileAHandlerOpenedEditorIsOpen)
{
    list->SetEditItems(ListBox::Editable(1));
    QWidget* next = nullptr;
    list->OnEditFinished.Add([this, &next](int row) {
        if (row != 1)
            return;
        table()->editItem(table()->item(2, 0));
        next = lastEditor->GetPlatformHandle();
    });
    QWidget* line = Open(1, 0);
    ASSERT_NE(line, nullptr);
    PressReturn(line);
    ASSERT_NE(next, nullptr);
    QTableWidget* plain = table();
    tester.reset();
    list.reset();
    qobject_cast<QLineEdit*>(next)->setText(QStringLiteral("kept"));
    PressReturn(next);
    EXPECT_EQ(plain->item(2, 0)->text(), QStringLiteral("kept"));
}

TEST_F(ListBoxEditorsTest, AStartHandlerMayTakeAwayTheRowItOpens)
{
    list->SetEditItems(ListBox::Editable(1));
    list->OnEditStarted.Add([this](int row, Edit*) { list->DeleteItem(row); });
    EXPECT_EQ(Open(1, 0), nullptr) << "no editor is handed out";
    QCoreApplication::processEvents();
    EXPECT_EQ(Column(0), (std::vector<std::wstring>{L"b", L"c"}));
    EXPECT_TRUE(edits.empty());
    EXPECT_NE(table()->palette().color(QPalette::Highlight), table()->palette().color(QPalette::Base));
}

TEST_F(ListBoxEditorsTest, ADateEditorTurnedToADateModeByItsCreatedHandlerStoresAndReports)
{
    // From time only to a date mode, the date edit puts a new widget in place of its first.
    const struct
    {
        DateEdit::DateEditMode mode;
        QString stored;
    } cases[] = {
        {DateEdit::DateOnly, ShortDate(QDate(2025, 1, 1))},
        {DateEdit::DateAndTime, ShortDate(QDate(2025, 1, 1)) + QStringLiteral(" 14:30")},
    };
    const DateEdit::DateEditMode* mode = nullptr;
    list->OnEditorCreated.Add([&mode](int, int, BaseGUIObject* editor) {
        if (auto* date = dynamic_cast<DateEdit*>(editor)) {
            date->SetMode(DateEdit::TimeOnly);
            date->SetMode(*mode);
        }
    });
    list->SetEditItems(ListBox::Editable(1));
    for (const auto& c : cases) {
        StartOver();
        mode = &c.mode;
        auto* date = qobject_cast<QDateTimeEdit*>(Open(1, 2));
        ASSERT_NE(date, nullptr);
        EXPECT_TRUE(date->isVisible()) << "the view shows the widget the control keeps";
        date->setDateTime(QDateTime(QDate(2025, 1, 1), QTime(14, 30)));
        edits.clear();
        PressReturn(date);
        EXPECT_EQ(list->GetItem(1, 2), c.stored.toStdWString());
        ASSERT_EQ(edits.size(), 1u);
        EXPECT_EQ(edits[0], "1,2: " + (ShortDate(QDate(2024, 3, 5)) + QStringLiteral(" 14:30")).toStdString() +
                                " -> " + c.stored.toStdString());
        EXPECT_NE(table()->palette().color(QPalette::Highlight), table()->palette().color(QPalette::Base));
    }
}

// Once the view holds a time-only date editor, a switch to a date mode puts a new widget in place of
// the one the view holds, whoever asks for it.
TEST_F(ListBoxEditorsTest, ADateEditorThatReplacesItsWidgetWhileOpenStoresAndReportsThroughTheNewOne)
{
    const struct
    {
        const char* name;
        bool activeWindow;
        // Its change handler switches as the user steps the time; else the program switches.
        bool byChangeHandler;
        // The program switches back to time only and again to a date mode: a second new widget.
        bool twice = false;
        // The created handler already had a new widget put in place of the first one.
        bool replacedAsItOpened = false;
    } cases[] = {
        {"the program, in an inactive window", false, false},
        {"the program, with the editor holding the focus", true, false},
        {"the program, twice", true, false, true},
        {"its change handler, as the user steps the time", true, true},
        {"the program, after the created handler", true, false, false, true},
    };
    DateEdit* opened = nullptr;
    bool switchOnChange = false;
    bool replaceAsItOpens = false;
    list->OnEditorCreated.Add([&](int, int, BaseGUIObject* editor) {
        opened = dynamic_cast<DateEdit*>(editor);
        if (!opened)
            return;
        opened->SetMode(DateEdit::TimeOnly);
        if (replaceAsItOpens) {
            opened->SetMode(DateEdit::DateOnly);
            opened->SetMode(DateEdit::TimeOnly);
        }
        opened->OnDateTimeChanged.Add([&opened, &switchOnChange](ZrDateTime) {
            if (std::exchange(switchOnChange, false))
                opened->SetMode(DateEdit::DateOnly);
        });
    });
    list->SetEditItems(ListBox::Editable(1));
    const QString before = ShortDate(QDate(2024, 3, 5)) + QStringLiteral(" 14:30");
    const QString after = ShortDate(QDate(2025, 1, 1));
    for (const auto& c : cases) {
        StartOver();
        QApplication::setActiveWindow(c.activeWindow ? &window : nullptr);
        replaceAsItOpens = c.replacedAsItOpened;
        const QPointer<QWidget> first = Open(1, 2);
        ASSERT_TRUE(first && opened) << c.name;
        first->setFocus();
        if (c.byChangeHandler) {
            switchOnChange = true;
            QTest::keyClick(first, Qt::Key_Up);
            EXPECT_FALSE(switchOnChange) << c.name;
        } else {
            opened->SetMode(DateEdit::DateOnly);
        }
        if (c.twice) {
            opened->SetMode(DateEdit::TimeOnly);
            opened->SetMode(DateEdit::DateOnly);
        }
        QCoreApplication::processEvents();
        auto* replacement = qobject_cast<QDateTimeEdit*>(opened->GetPlatformHandle());
        ASSERT_NE(replacement, nullptr) << c.name;
        EXPECT_NE(replacement, first) << c.name;
        EXPECT_EQ(table()->indexWidget(table()->model()->index(1, 2)), replacement) << c.name;
        EXPECT_TRUE(replacement->isVisible()) << c.name;
        EXPECT_EQ(table()->palette().color(QPalette::Highlight), table()->palette().color(QPalette::Base))
            << c.name << ": the selection stays hidden while the editor is open";
        replacement->setDate(QDate(2025, 1, 1));
        edits.clear();
        log.clear();
        PressReturn(replacement);
        EXPECT_EQ(list->GetItem(1, 2), after.toStdWString()) << c.name;
        EXPECT_EQ(edits, std::vector<std::string>{"1,2: " + before.toStdString() + " -> " + after.toStdString()})
            << c.name;
        EXPECT_EQ(EditReports(), std::vector<std::string>{"finished 1"}) << c.name;
        EXPECT_NE(table()->palette().color(QPalette::Highlight), table()->palette().color(QPalette::Base))
            << c.name;
    }
}

TEST_F(ListBoxEditorsTest, ADateEditorReplacingItsWidgetLeavesTheOtherOpenEditorAsItWas)
{
    list->SetEditItems(ListBox::Editable(1));
    OpenDatesTimeOnly();
    DateEdit*& date = openedDate;
    QPointer<QWidget> line;
    list->OnEditStarted.Add([this, &line](int row, Edit*) {
        if (row != 2)
            return;
        table()->editItem(table()->item(1, 2));
        line = startedEdit->GetPlatformHandle();
    });
    line = Open(2, 0);
    ASSERT_TRUE(line && date);
    QApplication::setActiveWindow(&window);
    line->setFocus();
    date->SetMode(DateEdit::DateOnly);
    QCoreApplication::processEvents();
    EXPECT_TRUE(edits.empty()) << "neither editor closed";
    ASSERT_TRUE(line && line->isVisible());
    EXPECT_TRUE(line->hasFocus()) << "the new widget took no focus";
    QWidget* replacement = date->GetPlatformHandle();
    EXPECT_EQ(table()->indexWidget(table()->model()->index(1, 2)), replacement);
    PressReturn(line);
    PressReturn(replacement);
    ASSERT_EQ(edits.size(), 2u);
    EXPECT_EQ(edits[0], "2,0: c -> c");
    EXPECT_EQ(edits[1].rfind("1,2: ", 0), 0u) << edits[1];
    EXPECT_NE(table()->palette().color(QPalette::Highlight), table()->palette().color(QPalette::Base));
}

TEST_F(ListBoxEditorsTest, ADateEditorSwitchedByItsFinishHandlerLeavesNoWidgetBehind)
{
    list->SetEditItems(ListBox::Editable(1));
    OpenDatesTimeOnly();
    DateEdit*& date = openedDate;
    list->OnEditFinished.Add([&date](int) { date->SetMode(DateEdit::DateOnly); });
    const int childrenBefore = table()->findChildren<QDateTimeEdit*>().size();
    QWidget* editor = Open(1, 2);
    ASSERT_TRUE(editor && date);
    PressReturn(editor);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(edits.size(), 1u);
    EXPECT_EQ(table()->findChildren<QDateTimeEdit*>().size(), childrenBefore);
}

// The view takes the delegate off an editor while the editor stores its value, so that a switch made
// by a change handler then goes unheard until the view closes the widget it holds.
TEST_F(ListBoxEditorsTest, ADateEditorSwitchedAsItStoresItsValueReportsAndLeavesNoWidgetBehind)
{
    QApplication::setActiveWindow(&window);
    list->SetEditItems(ListBox::Editable(1));
    OpenDatesTimeOnly();
    DateEdit*& date = openedDate;
    bool switchOnChange = false;
    list->OnItemChanged.Add([&](int) {
        if (std::exchange(switchOnChange, false) && date)
            date->SetMode(DateEdit::DateOnly);
    });
    const struct
    {
        const char* name;
        std::function<void(QWidget* editor)> store;
        // Tab opens the next cell; else the table takes the focus and shows the selection again.
        bool opensNext;
    } cases[] = {
        {"Return", [](QWidget* editor) { QTest::keyClick(editor, Qt::Key_Return); }, false},
        {"Tab", [](QWidget* editor) { QTest::keyClick(editor, Qt::Key_Tab); }, true},
        {"the focus leaving", [this](QWidget*) { table()->setFocus(); }, false},
    };
    const int childrenBefore = table()->findChildren<QDateTimeEdit*>().size();
    const std::string before = (ShortDate(QDate(2024, 3, 5)) + QStringLiteral(" 14:30")).toStdString();
    for (const auto& c : cases) {
        StartOver();
        auto* editor = qobject_cast<QDateTimeEdit*>(Open(1, 2));
        ASSERT_TRUE(editor && date) << c.name;
        editor->setTime(QTime(9, 15));
        editor->setFocus();
        log.clear();
        edits.clear();
        switchOnChange = true;
        c.store(editor);
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_FALSE(switchOnChange) << c.name;
        EXPECT_EQ(list->GetItem(1, 2), L"9:15") << c.name;
        EXPECT_EQ(edits, std::vector<std::string>{"1,2: " + before + " -> 9:15"}) << c.name;
        EXPECT_EQ(Reports({"finished"}), std::vector<std::string>{"finished 1"}) << c.name;
        EXPECT_EQ(table()->findChildren<QDateTimeEdit*>().size(), childrenBefore) << c.name;
        if (c.opensNext) {
            EXPECT_NE(table()->currentIndex(), table()->model()->index(1, 2)) << c.name;
            EXPECT_NE(table()->indexWidget(table()->currentIndex()), nullptr) << c.name;
        } else {
            EXPECT_TRUE(table()->hasFocus()) << c.name;
            EXPECT_NE(table()->palette().color(QPalette::Highlight), table()->palette().color(QPalette::Base))
                << c.name;
        }
    }
}

// The window is inactive while the two editors open, so that no focus moves close either.
TEST_F(ListBoxEditorsTest, ShowingTheSelectionClosesAnEditorThatTheOthersFinishHandlerSwitched)
{
    list->SetEditItems(ListBox::Editable(1));
    OpenDatesTimeOnly();
    DateEdit*& date = openedDate;
    list->OnEditStarted.Add([this](int row, Edit*) {
        if (row == 2)
            table()->editItem(table()->item(1, 2));
    });
    list->OnEditFinished.Add([&date](int row) {
        if (row == 2 && date)
            date->SetMode(DateEdit::DateOnly);
    });
    const int childrenBefore = table()->findChildren<QDateTimeEdit*>().size();
    ASSERT_NE(Open(2, 0), nullptr);
    ASSERT_NE(date, nullptr);
    list->ShowSelection(true);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_EQ(edits.size(), 2u);
    EXPECT_EQ(edits[0], "2,0: c -> c");
    EXPECT_EQ(edits[1].rfind("1,2: ", 0), 0u) << edits[1];
    EXPECT_EQ(Reports({"finished"}), (std::vector<std::string>{"finished 2", "finished 1"}));
    EXPECT_EQ(table()->findChildren<QDateTimeEdit*>().size(), childrenBefore);
    EXPECT_NE(table()->palette().color(QPalette::Highlight), table()->palette().color(QPalette::Base));
}

// The window is inactive while the two editors open, so that no focus moves close either.
TEST_F(ListBoxEditorsTest, TheListTakingTheFocusFromOneOfTwoEditorsKeepsTheSelectionHidden)
{
    list->SetEditItems(ListBox::Editable(1));
    QPointer<QWidget> second;
    list->OnEditStarted.Add([this, &second](int row, Edit*) {
        if (row != 2)
            return;
        table()->editItem(table()->item(0, 0));
        second = lastEditor->GetPlatformHandle();
    });
    const QPointer<QWidget> first = Open(2, 0);
    ASSERT_TRUE(first && second);
    QApplication::setActiveWindow(&window);
    first->setFocus();
    table()->setFocus();
    QCoreApplication::processEvents();
    EXPECT_EQ(edits, std::vector<std::string>{"2,0: c -> c"}) << "the editor that had the focus closes";
    ASSERT_TRUE(second && second->isVisible());
    EXPECT_EQ(table()->palette().color(QPalette::Highlight), table()->palette().color(QPalette::Base))
        << "the selection stays hidden while the other editor is open";
    PressReturn(second);
    EXPECT_EQ(edits, (std::vector<std::string>{"2,0: c -> c", "0,0: b -> b"}));
    EXPECT_NE(table()->palette().color(QPalette::Highlight), table()->palette().color(QPalette::Base));
}

TEST_F(ListBoxEditorsTest, AnEditorLeftDuringADeletionStaysOpenRatherThanMoveItsRow)
{
    struct Case
    {
        const char* name;
        bool multiSelection;
        int column;
        // Run once, by the report that the selected "a" leaves as it is deleted.
        std::function<void()> leaveEditor;
        bool stillOpen;
        std::vector<std::wstring> firstColumn;
        // Once the editor that stayed open has had Return.
        std::vector<std::wstring> finally;
        std::vector<std::string> edits;
    };
    QLineEdit elsewhere(&window);
    elsewhere.setGeometry(0, 200, 100, 20);
    elsewhere.show();
    const auto moveCurrent = [this] { list->SetSel(1, true, true); };
    // The list is sorted by its first column, a, b, c; the editor opens on "c" and is given a new value,
    // "0" in the first column. Then "a" is deleted.
    const Case cases[] = {
        {"the current cell moved off the sort column's editor", false, 0, moveCurrent, true, {L"b", L"c"},
         {L"0", L"b"}, {"0,0: c -> 0"}},
        {"the focus moved off the sort column's editor", false, 0, [&elsewhere] { elsewhere.setFocus(); }, true,
         {L"b", L"c"}, {L"0", L"b"}, {"0,0: c -> 0"}},
        // A combo box choice leaves the row where it is, and is stored as the row above leaves.
        {"the current cell moved off another column's editor", false, 1, moveCurrent, false, {L"b", L"c"},
         {L"b", L"c"}, {"2,1: red -> blue"}},
        // The deletion moves the current cell itself before the row goes; the rows re-sort first.
        {"nothing selected in multi-selection", true, 0, nullptr, false, {L"0", L"b"}, {L"0", L"b"},
         {"0,0: c -> 0"}},
    };
    std::function<void()> pending;
    list->OnRowSelectionChanged.Add([&pending](int) {
        if (pending)
            std::exchange(pending, nullptr)();
    });
    QApplication::setActiveWindow(&window);
    list->SetEditItems(ListBox::Editable(1));
    for (const Case& c : cases) {
        StartOver();
        list->SetSingleSelection(!c.multiSelection);
        list->SortColumn(0, ListBox::Ascending, true);
        const QPointer<QWidget> editor = Open(2, c.column);
        ASSERT_NE(editor, nullptr) << c.name;
        if (auto* line = qobject_cast<QLineEdit*>(editor.data()))
            line->setText(QStringLiteral("0"));
        else
            EnterNewValue(editor);
        editor->setFocus();
        if (c.multiSelection)
            list->ClearSel();
        else
            list->SetSel(0, true, false);
        edits.clear();
        pending = c.leaveEditor;
        EXPECT_TRUE(list->DeleteItem(0)) << c.name;
        QCoreApplication::processEvents();
        EXPECT_EQ(pending, nullptr) << c.name << ": the handler ran";
        EXPECT_EQ(Column(0), c.firstColumn) << c.name << ": the deleted row is the one that left";
        EXPECT_EQ(editor && editor->isVisible(), c.stillOpen) << c.name;
        if (c.stillOpen) {
            EXPECT_TRUE(edits.empty()) << c.name;
            PressReturn(editor);
        }
        EXPECT_EQ(Column(0), c.finally) << c.name;
        EXPECT_EQ(edits, c.edits) << c.name;
    }
}

// A handler that lets the list box go while its editor opens ends the opening: no later handler of a
// gone control runs, nothing freed is touched and the table is left without an editor.
TEST_F(ListBoxEditorsTest, AHandlerMayLetTheListGoWhileItsEditorOpens)
{
    const struct
    {
        const char* name;
        const char* handler;
        int column;
        Gone gone;
        std::vector<std::string> fired;
        // The created handler first turns a time-only date editor to a date mode, which puts a new
        // widget in place of the first.
        bool replacesDateWidget = false;
    } cases[] = {
        {"start deletes the control", "started", 0, Gone::Control, {"started"}},
        {"start deletes the window", "started", 0, Gone::Window, {"started", "late started"}},
        {"start deletes both", "started", 0, Gone::Both, {"started"}},
        {"line edit created, control", "created", 0, Gone::Control, {"started", "late started", "created"}},
        {"line edit created, window", "created", 0, Gone::Window,
         {"started", "late started", "created", "late created"}},
        {"line edit created, both", "created", 0, Gone::Both, {"started", "late started", "created"}},
        {"combo box created, control", "created", 1, Gone::Control, {"created"}},
        {"combo box created, both", "created", 1, Gone::Both, {"created"}},
        {"date edit created, control", "created", 2, Gone::Control, {"created"}},
        {"date edit created, window", "created", 2, Gone::Window, {"created", "late created"}},
        {"date edit replaced, control", "created", 2, Gone::Control, {"created"}, true},
        {"date edit replaced, window", "created", 2, Gone::Window, {"created", "late created"}, true},
    };
    tester.reset();
    for (const auto& c : cases) {
        const QPointer<QWidget> dialog = new QWidget(&window);
        auto box = std::make_unique<ListBox>();
        ASSERT_TRUE(box->Create(dialog));
        box->SetColumnsCount(3);
        for (const wchar_t* text : {L"b", L"a"}) {
            auto texts = Texts({text, L"red", L"2024-03-05T14:30:00"});
            box->AddItemEx(texts, any());
        }
        box->SetColumnEditMode(1, ListBox::ComboBoxEditor);
        box->SetColumnEditMode(2, ListBox::DateEditor);
        box->SetEditItems(ListBox::Editable(1));
        const QPointer<QTableWidget> table = static_cast<QTableWidget*>(box->GetPlatformHandle());
        dialog->show();
        std::vector<std::string> fired;
        const auto fire = [&](const char* handler) {
            fired.push_back(handler);
            if (handler != std::string(c.handler))
                return;
            LetGo(c.gone, box, dialog);
        };
        box->OnEditStarted.Add([&](int, Edit*) { fire("started"); });
        box->OnEditStarted.Add([&](int, Edit*) { fired.push_back("late started"); });
        // Held by the date editor's handler for as long as the control lives.
        const auto dateControlLives = std::make_shared<bool>(true);
        box->OnEditorCreated.Add([&](int, int, BaseGUIObject* editor) {
            auto* date = dynamic_cast<DateEdit*>(editor);
            if (date)
                date->OnDateTimeChanged.Add([dateControlLives](ZrDateTime) {});
            if (date && c.replacesDateWidget) {
                date->SetMode(DateEdit::TimeOnly);
                date->SetMode(DateEdit::DateOnly);
            }
            fire("created");
        });
        box->OnEditorCreated.Add([&](int, int, BaseGUIObject*) { fired.push_back("late created"); });
        const int childrenBefore = table->children().size();
        table->editItem(table->item(1, c.column));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(fired, c.fired) << c.name;
        EXPECT_EQ(table.isNull(), c.gone != Gone::Control) << c.name;
        if (table) {
            EXPECT_EQ(table->children().size(), childrenBefore) << c.name << ": the editor went";
        }
        EXPECT_EQ(dateControlLives.use_count(), 1) << c.name << ": the editor's control went";
        delete dialog;
    }
}

// A finish handler deletes the window, the table with it, with plain delete.
TEST_F(ListBoxEditorsTest, AFinishHandlerMayDeleteTheWindowAsTheEditorCloses)
{
    const struct
    {
        const char* name;
        std::function<void(ListBox& box, QWidget* editor)> close;
    } cases[] = {
        {"Return", [](ListBox&, QWidget* editor) { PressReturn(editor); }},
        {"Escape", [](ListBox&, QWidget* editor) { QTest::keyClick(editor, Qt::Key_Escape); }},
        {"Tab, which moves on to the next cell", [](ListBox&, QWidget* editor) { QTest::keyClick(editor, Qt::Key_Tab); }},
        {"the program showing the selection", [](ListBox& box, QWidget*) { box.ShowSelection(true); }},
    };
    tester.reset();
    QApplication::setActiveWindow(&window);
    for (const auto& c : cases) {
        const QPointer<QWidget> dialog = new QWidget(&window);
        auto box = std::make_unique<ListBox>();
        ASSERT_TRUE(box->Create(dialog));
        box->SetColumnsCount(2);
        auto texts = Texts({L"a", L"b"});
        box->AddItemEx(texts, any());
        box->SetEditItems(ListBox::Editable(1));
        dialog->show();
        std::vector<int> finished;
        box->OnEditFinished.Add([&](int row) {
            finished.push_back(row);
            delete dialog;
        });
        auto* table = static_cast<QTableWidget*>(box->GetPlatformHandle());
        table->editItem(table->item(0, 0));
        QWidget* editor = table->indexWidget(table->model()->index(0, 0));
        ASSERT_NE(editor, nullptr) << c.name;
        editor->setFocus();
        c.close(*box, editor);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(dialog.isNull()) << c.name;
        EXPECT_EQ(finished, std::vector<int>{0}) << c.name;
        EXPECT_EQ(box->Count(), -1) << c.name << ": the control outlives its table";
    }
}

// The view takes the editor only once the cell's value is in it, so that a switch made by a change
// handler as the value goes in is heard before the view holds the widget it replaces.
TEST_F(ListBoxEditorsTest, ADateEditorSwitchedAsItsValueIsLoadedLeavesTheCellAsItWas)
{
    QApplication::setActiveWindow(&window);
    list->SetEditItems(ListBox::Editable(1));
    bool switchOnChange = false;
    list->OnEditorCreated.Add([&switchOnChange](int, int, BaseGUIObject* editor) {
        auto* date = dynamic_cast<DateEdit*>(editor);
        if (!date)
            return;
        date->SetMode(DateEdit::TimeOnly);
        switchOnChange = true;
        date->OnDateTimeChanged.Add([date, &switchOnChange](ZrDateTime) {
            if (std::exchange(switchOnChange, false))
                date->SetMode(DateEdit::DateOnly);
        });
    });
    const std::wstring before = list->GetItem(1, 2);
    Open(1, 2);
    log.clear();
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(switchOnChange);
    EXPECT_EQ(list->GetItem(1, 2), before);
    EXPECT_EQ(Reports({"changed"}), std::vector<std::string>{});
}


// The view closes the widget it holds for the editor of a leaving row, which a change handler had the
// control replace as the editor stored its value.
TEST_F(ListBoxEditorsTest, ADateEditorSwitchedAsItStoresItsValueOnARowTheHandlerDeletesLeavesNoWidgetBehind)
{
    QApplication::setActiveWindow(&window);
    list->SetEditItems(ListBox::Editable(1));
    OpenDatesTimeOnly();
    bool armed = false;
    list->OnItemChanged.Add([&](int row) {
        if (!std::exchange(armed, false))
            return;
        openedDate->SetMode(DateEdit::DateOnly);
        list->DeleteItem(row);
    });
    const int childrenBefore = table()->findChildren<QDateTimeEdit*>().size();
    QWidget* editor = Open(1, 2);
    ASSERT_NE(editor, nullptr);
    editor->setFocus();
    armed = true;
    PressReturn(editor);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(armed);
    EXPECT_EQ(Column(0), (std::vector<std::wstring>{L"b", L"c"}));
    EXPECT_EQ(table()->findChildren<QDateTimeEdit*>().size(), childrenBefore);
    EXPECT_NE(table()->palette().color(QPalette::Highlight), table()->palette().color(QPalette::Base));
}
