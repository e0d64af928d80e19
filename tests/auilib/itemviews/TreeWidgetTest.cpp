#include "ContextMenu.h"
#include "ControlTestSupport.h"
#include "Edit.h"
#include "PopupDriver.h"
#include "TreeTestSupport.h"

#include <QDropEvent>
#include <QMimeData>
#include <QStandardItemModel>

#include <functional>
#include <utility>

using namespace AUILib;

namespace {

class TreeWidgetTest : public TreeFixture
{
protected:
    // Top level t0..t4; t1 holds c0..c2, c1 holds g0.
    void Build()
    {
        for (int i = 0; i < 5; ++i)
            top.push_back(tree->InsertItem(L"t" + std::to_wstring(i), RootHandle, LastHandle, any(long(i))));
        for (int i = 0; i < 3; ++i)
            child.push_back(tree->AddSubItem(L"c" + std::to_wstring(i), any(long(10 + i)), top[1]));
        g0 = tree->AddSubItem(L"g0", any(100L), child[1]);
        view()->expandAll();
    }

    // The selected items in tree order.
    std::string Selected()
    {
        const std::list<QStandardItem*> selected = tree->SelectedItems();
        std::string texts;
        for (QStandardItem* item : impl().AllItems()) {
            if (std::find(selected.begin(), selected.end(), item) != selected.end())
                texts += (texts.empty() ? "" : ",") + Text(item);
        }
        return texts;
    }

    std::string Checked()
    {
        std::string texts;
        for (QStandardItem* item : tree->CheckedItems())
            texts += (texts.empty() ? "" : ",") + Text(item);
        return texts;
    }

    QPoint CheckBoxPoint(QStandardItem* item)
    {
        for (int x = view()->visualRect(item->index()).left(); x < viewport()->width(); ++x) {
            unsigned int flags = 0;
            const QPoint point(x, view()->visualRect(item->index()).center().y());
            if (tree->HitTest({point.x(), point.y()}, &flags) == item && (flags & HitOnCheckBox))
                return point;
        }
        ADD_FAILURE() << "no check box on " << Text(item);
        return {};
    }

    std::vector<QStandardItem*> top;
    std::vector<QStandardItem*> child;
    QStandardItem* g0 = nullptr;
};

} // namespace

TEST_F(TreeWidgetTest, ShiftAndControlClicksSelectAmongSiblings)
{
    Build();
    tree->SetMultiSelection(true);
    // An index into top, or 10 + an index into child.
    const auto item = [&](int index) { return index >= 10 ? child[index - 10] : top[index]; };
    const std::vector<std::tuple<int, Qt::KeyboardModifiers, const char*>> steps = {
        {0, Qt::NoModifier, "t0"},
        {2, Qt::ShiftModifier, "t0,t1,t2"},
        {4, Qt::ShiftModifier, "t0,t1,t2,t3,t4"},
        {3, Qt::ShiftModifier, "t0,t1,t2,t3"},
        {11, Qt::ShiftModifier, "t0,t1,t2,t3"},  // another parent: swallowed
        {4, Qt::ControlModifier, "t0,t1,t2,t3,t4"},
        {2, Qt::ControlModifier, "t0,t1,t3,t4"},
        {11, Qt::NoModifier, "c1"},
        {12, Qt::ControlModifier, "c1,c2"},
        {1, Qt::ControlModifier, "t1"},          // its selected children go
        {10, Qt::ControlModifier, "t1"},         // its parent is selected: nothing
    };
    for (const auto& [index, modifiers, expected] : steps) {
        Click(item(index), modifiers);
        EXPECT_EQ(Selected(), expected) << Text(item(index));
    }
}

TEST_F(TreeWidgetTest, ShiftArrowsMoveAmongSiblingsOnly)
{
    Build();
    tree->SetMultiSelection(true);
    Click(child[0]);
    int begins = 0;
    tree->OnMultiSelectionBegin.Add([&] { ++begins; });
    const std::vector<std::tuple<int, const char*>> keys = {
        {Qt::Key_Down, "c0,c1"}, {Qt::Key_Down, "c0,c1,c2"}, {Qt::Key_Down, "c0,c1,c2"},
        {Qt::Key_Up, "c0,c1"},   {Qt::Key_Up, "c0"},
    };
    for (const auto& [key, expected] : keys) {
        QTest::keyClick(view(), static_cast<Qt::Key>(key), Qt::ShiftModifier);
        EXPECT_EQ(Selected(), expected);
    }
    EXPECT_EQ(begins, 5);
}

TEST_F(TreeWidgetTest, SelectedItemsIsEmptyWhileAChangeIsBeingDelivered)
{
    Build();
    std::vector<std::string> seen;
    tree->OnItemSelectionChanged.Add([&](QStandardItem* item) {
        seen.push_back(Text(item) + ":" + std::to_string(tree->SelectedItems().size()));
    });
    Click(top[0]);
    Click(top[1]);
    EXPECT_EQ(seen, (std::vector<std::string>{"t0:1", "t0:0", "t1:1"}));
}

TEST_F(TreeWidgetTest, MovesCopySubtreesAndReportTheCopies)
{
    Build();
    child[1]->setCheckable(true);
    child[1]->setCheckState(Qt::Checked);
    std::vector<std::string> dropped;
    tree->OnItemsDropped.Add([&](QStandardItem* target, std::vector<QStandardItem*>& items, bool besides) {
        dropped.push_back("before " + Text(target) + " " + std::to_string(items.size()) + (besides ? " besides" : " in"));
    });
    QStandardItem* reportedTarget = nullptr;
    std::vector<QStandardItem*> copies;
    tree->OnItemsDroppedEx.Add([&](QStandardItem* target, std::vector<QStandardItem*>& items, bool) {
        reportedTarget = target;
        copies = items;
    });

    // A child with its parent: the parent's copy carries it; the child alone is not copied twice.
    EXPECT_TRUE(view()->MoveItems({top[1], child[1]}, top[3], false));
    EXPECT_EQ(Children(nullptr), "t0,t2,t3,t1,t4");
    QStandardItem* moved = impl().model->item(3);
    EXPECT_EQ(Children(moved), "c0,c1,c2");
    EXPECT_EQ(Children(moved->child(1)), "g0");
    EXPECT_TRUE(moved->child(1)->isCheckable());
    EXPECT_EQ(moved->child(1)->checkState(), Qt::Unchecked);
    EXPECT_EQ(copies, std::vector<QStandardItem*>{moved});
    EXPECT_EQ(dropped, std::vector<std::string>{"before t3 1 besides"});
    any data = tree->GetItemData(moved->child(1)->child(0));
    EXPECT_EQ(*any_cast<long>(&data), 100);
    EXPECT_TRUE(tree->IsSelectedItem(moved));

    // Above a first child: the first children of its parent.
    QStandardItem* c0 = moved->child(0);
    const DropPlacement above = TreeViewQt::PlacementForDrop(TreeViewQt::AboveItem, c0);
    EXPECT_TRUE(view()->MoveItems({impl().model->item(0)}, above.target, above.asChild));
    EXPECT_EQ(Children(moved), "t0,c0,c1,c2");

    // The target moves too: reported as its copy.
    QStandardItem* t2 = impl().model->item(0);
    QStandardItem* t4 = impl().model->item(3);
    EXPECT_TRUE(view()->MoveItems({t2, t4}, t2, false));
    EXPECT_EQ(Children(nullptr), "t2,t4,t3,t1");
    EXPECT_EQ(reportedTarget, impl().model->item(0));

    // A target inside a moved subtree, or a veto: nothing changes, nothing fires.
    dropped.clear();
    EXPECT_FALSE(view()->MoveItems({moved}, moved->child(2), true));
    EXPECT_FALSE(view()->MoveItems({moved}, moved, true));
    tree->SetDragAndDropCanMove([](QStandardItem*, std::vector<QStandardItem*>&, bool) { return false; });
    EXPECT_FALSE(view()->MoveItems({impl().model->item(0)}, impl().model->item(2), true));
    EXPECT_TRUE(dropped.empty());
    EXPECT_EQ(Children(nullptr), "t2,t4,t3,t1");
}

TEST_F(TreeWidgetTest, DropPlacementFollowsTheIndicator)
{
    Build();
    struct Case
    {
        TreeViewQt::DropIndicatorPosition position;
        QStandardItem* target;
        QStandardItem* dropTarget;
        bool dropAsChild;
        QStandardItem* canMoveTarget;
        bool canMoveAsChild;
    };
    const Case cases[] = {
        {TreeViewQt::OnItem, top[2], top[2], true, top[2], true},
        {TreeViewQt::BelowItem, top[2], top[2], false, top[2], false},
        {TreeViewQt::OnViewport, top[2], top[2], true, top[2], false},
        {TreeViewQt::AboveItem, top[2], top[1], false, top[1], false},
        {TreeViewQt::AboveItem, child[0], top[1], true, top[1], true},
        {TreeViewQt::AboveItem, top[0], nullptr, false, nullptr, false},
    };
    for (const Case& each : cases) {
        const DropPlacement drop = TreeViewQt::PlacementForDrop(each.position, each.target);
        const DropPlacement canMove = TreeViewQt::PlacementForCanMove(each.position, each.target);
        EXPECT_EQ(drop.target, each.dropTarget) << each.position << Text(each.target);
        EXPECT_EQ(drop.asChild, each.dropAsChild) << each.position << Text(each.target);
        EXPECT_EQ(canMove.target, each.canMoveTarget) << each.position << Text(each.target);
        EXPECT_EQ(canMove.asChild, each.canMoveAsChild) << each.position << Text(each.target);
    }

    // A drop from elsewhere goes to Qt's handler, which moves nothing here.
    tree->EnableRowsDragAndDrop(true);
    QMimeData mime;
    mime.setText("text");
    QDropEvent drop(LabelPoint(top[2]), Qt::MoveAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport(), &drop);
    EXPECT_EQ(Children(nullptr), "t0,t1,t2,t3,t4");
}

TEST_F(TreeWidgetTest, RightReleaseReportsTheItemThenShowsTheMenu)
{
    Build();
    auto menu = std::make_shared<ContextMenu>();
    ASSERT_TRUE(menu->Create(view()));
    menu->AddItem(L"entry", std::function<void()>([] {}), 1);
    tree->InsertContextMenu(menu);
    std::vector<std::string> log;
    tree->OnItemMouseReleased.Add([&](QStandardItem* item) { log.push_back("released " + Text(item)); });
    whenPopupShown([&](QMenu* shown) {
        log.push_back("menu");
        shown->close();
    });
    ClickAt(LabelPoint(top[2]), Qt::NoModifier, Qt::RightButton);
    EXPECT_EQ(log, (std::vector<std::string>{"released t2", "menu"}));

    log.clear();
    view()->collapseAll();
    ClickAt({10, viewport()->height() - 5}, Qt::NoModifier, Qt::RightButton);
    EXPECT_TRUE(log.empty()) << "nothing over empty space";
}

TEST_F(TreeWidgetTest, OnlyDisplayChangesOfOneCellAreReported)
{
    Build();
    std::vector<std::string> log;
    tree->OnItemDataChanged.Add([&](QStandardItem* item, std::wstring text) {
        log.push_back("data " + Text(item) + " " + QString::fromStdWString(text).toStdString());
    });
    tree->OnItemTextChanged.Add([&](QStandardItem*, std::wstring created, std::wstring text) {
        log.push_back("text " + QString::fromStdWString(created).toStdString() + ">" +
                      QString::fromStdWString(text).toStdString());
    });
    top[0]->setData(Qt::Checked, Qt::CheckStateRole);
    EXPECT_TRUE(log.empty());
    tree->SetItemText(top[0], L"renamed");
    EXPECT_EQ(log, (std::vector<std::string>{"data renamed renamed", "text t0>renamed"}));
}

TEST_F(TreeWidgetTest, CheckBoxesPropagateDownAndToTheDirectParent)
{
    Build();
    tree->SetCheckMode(1);
    view()->expandAll();
    tree->SetCheck(child[1], true);
    const auto clickBox = [&](QStandardItem* item) { Click(item, Qt::NoModifier, CheckBoxPoint(item) - LabelPoint(item)); };
    clickBox(top[1]);
    EXPECT_EQ(Checked(), "t1,c0,c1,c2") << "an already checked subtree is left as it is";
    clickBox(g0);
    EXPECT_EQ(Checked(), "t1,c0,c1,g0,c2");
    clickBox(g0);
    EXPECT_EQ(Checked(), "t1,c0,c2") << "the parent is unchecked, the grandparent is not";
    tree->SetCheck(top[1], false);
    clickBox(g0);
    EXPECT_EQ(Checked(), "c0,c1,g0,c2") << "the last child checks its parent, not the grandparent";
}

TEST_F(TreeWidgetTest, CheckModeOneClicksAndShiftRanges)
{
    Build();
    tree->SetCheckMode(1);
    std::vector<std::string> log;
    tree->OnItemClicked.Add([&](QStandardItem* item) { log.push_back("clicked " + Text(item)); });
    tree->OnItemCheckChanged.Add([&](QStandardItem* item) { log.push_back("check " + Text(item)); });
    const auto box = [&](QStandardItem* item) { return CheckBoxPoint(item) - LabelPoint(item); };

    Click(top[0], Qt::NoModifier, box(top[0]));
    EXPECT_EQ(log, std::vector<std::string>{"check t0"}) << "a plain click on a box is no item click";
    EXPECT_EQ(Checked(), "t0");

    struct Step
    {
        int item;
        bool onBox;
        const char* checked;
    };
    const Step steps[] = {
        {3, true, "t0,t1,c0,c1,g0,c2,t2,t3"}, // anchor t0 to t3
        {4, true, "t0,t1,c0,c1,g0,c2,t2,t3,t4"},
        {2, false, "t0,t1,c0,c1,g0,c2,t2"},   // back towards the anchor
    };
    for (const Step& step : steps) {
        Click(top[step.item], Qt::ShiftModifier, step.onBox ? box(top[step.item]) : QPoint(4, 0));
        EXPECT_EQ(Checked(), step.checked) << step.item;
    }
    log.clear();
    Click(child[0], Qt::ShiftModifier, box(child[0]));
    EXPECT_TRUE(std::find(log.begin(), log.end(), "clicked c0") != log.end());
    EXPECT_TRUE(tree->GetCheck(top[2])) << "another parent: no range";

    QTest::keyRelease(view(), Qt::Key_Shift);
    EXPECT_FALSE(impl().anchor.isValid());
    EXPECT_TRUE(impl().ownSelection.empty());
}

TEST_F(TreeWidgetTest, AHandlerMayChangeItsOwnTree)
{
    Build();
    tree->SetCheckMode(1);
    tree->OnItemCheckChanged.Add([&](QStandardItem* item) {
        for (QStandardItem* each : top)
            tree->SetCheck(each, each != item);
    });
    Click(top[2], Qt::NoModifier, CheckBoxPoint(top[2]) - LabelPoint(top[2]));
    EXPECT_EQ(Checked(), "t0,t1,t3,t4");
}

TEST_F(TreeWidgetTest, HitTestsNameTheParts)
{
    Build();
    tree->SetCheckMode(2);
    const QRect rect = view()->visualRect(top[1]->index());
    unsigned int flags = 0;
    EXPECT_EQ(tree->HitTest({rect.right() - 2, rect.center().y()}, &flags), top[1]);
    EXPECT_EQ(flags, unsigned(HitOnLabel));
    EXPECT_EQ(tree->HitTest({rect.left() - 2, rect.center().y()}, &flags), top[1]);
    EXPECT_EQ(flags, unsigned(HitOnButton));
    EXPECT_EQ(tree->HitTest({CheckBoxPoint(top[1]).x(), rect.center().y()}, &flags), top[1]);
    EXPECT_TRUE(flags & HitOnCheckBox);
    EXPECT_EQ(tree->HitTest({5, viewport()->height() - 2}, &flags), nullptr);
    EXPECT_EQ(flags, unsigned(HitNowhere));
    const QRect content = tree->GetItemRect(top[1], true);
    EXPECT_EQ(content.width(), view()->sizeHintForIndex(top[1]->index()).width());
}

TEST_F(TreeWidgetTest, MovesWaitForThePressTimer)
{
    Build();
    tree->SetMultiSelection(true);
    tree->EnableRowsDragAndDrop(true);
    Click(top[1]);
    Click(top[2], Qt::ControlModifier);
    ASSERT_EQ(Selected(), "t1,t2");
    QCursor::setPos(viewport()->mapToGlobal(LabelPoint(top[2])));
    QTest::mousePress(viewport(), Qt::LeftButton, Qt::NoModifier, LabelPoint(top[2]));
    EXPECT_EQ(Selected(), "t1,t2") << "a press on a selected item keeps the selection";
    QMouseEvent early(QEvent::MouseMove, LabelPoint(top[2]) + QPoint(0, 30), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport(), &early);
    EXPECT_FALSE(early.isAccepted()) << "no drag within 200 ms";
    QTest::mouseRelease(viewport(), Qt::LeftButton, Qt::NoModifier, LabelPoint(top[2]));
}

TEST_F(TreeWidgetTest, LabelEditorsOpenOneAtATimeOverTheirItems)
{
    Build();
    std::vector<std::string> log;
    tree->OnEditStarted.Add([&](QStandardItem* item) { log.push_back("started " + Text(item)); });
    tree->OnEditorCreated.Add([&](QStandardItem* item, Edit* editor) {
        log.push_back("created " + Text(item) + (editor ? "" : " without editor"));
    });
    tree->OnEditFinished.Add([&](QStandardItem* item) { log.push_back("finished " + Text(item)); });
    tree->SetHeaderVisible(true);

    Edit* first = tree->EditLabel(top[2]);
    ASSERT_NE(first, nullptr);
    QWidget* line = first->GetWndPtr();
    EXPECT_EQ(line->parentWidget(), view());
    const QRect cell = view()->visualRect(top[2]->index());
    const QPoint cellInView = viewport()->mapTo(view(), cell.topLeft());
    EXPECT_EQ(line->y(), cellInView.y()) << "level with its row, below the header";
    EXPECT_EQ(line->height(), cell.height() + 2);
    EXPECT_EQ(first->GetText(), L"t2");

    Edit* second = tree->EditLabel(top[3]);
    ASSERT_NE(second, nullptr);
    QCoreApplication::processEvents();
    EXPECT_EQ(log, (std::vector<std::string>{"started t2", "created t2", "finished t2", "started t3", "created t3"}));
    EXPECT_EQ(Text(top[2]), "t2") << "closed without its text";

    second->SetText(L"renamed");
    tree->EndEditLabel(true);
    EXPECT_EQ(Text(top[3]), "renamed");
    EXPECT_EQ(log.back(), "finished renamed");
    tree->DisableEditLabel(top[4], true);
    EXPECT_TRUE(tree->IsDisabledEditLabel(top[4]));
    EXPECT_EQ(tree->EditLabel(top[4]), nullptr);
    EXPECT_EQ(tree->EditLabel(RootHandle), nullptr);
}

TEST_F(TreeWidgetTest, ALabelEditorOpenedByTheFinishHandlerReportsItsOwnFinish)
{
    Build();
    struct Case
    {
        const char* name;
        // Run once, while the editor on t2, given "first", reports its finish.
        std::function<void()> handle;
        // Closes the editor the handler opened, given "next".
        std::function<void(Edit* editor)> close;
        std::vector<std::string> log;
        std::string t2;
        std::string t3;
    };
    const auto pressKey = [](Qt::Key key) {
        return [key](Edit* editor) {
            QTest::keyClick(editor->GetWndPtr(), key);
            QCoreApplication::processEvents();
        };
    };
    const Case cases[] = {
        {"the next item, Return", [&] { tree->EditLabel(top[3]); }, pressKey(Qt::Key_Return),
         {"finished first", "started t3", "finished next"}, "first", "next"},
        {"the next item, Escape", [&] { tree->EditLabel(top[3]); }, pressKey(Qt::Key_Escape),
         {"finished first", "started t3", "finished t3"}, "first", "t3"},
        {"the next item, ended by the program", [&] { tree->EditLabel(top[3]); },
         [this](Edit*) { tree->EndEditLabel(true); }, {"finished first", "started t3", "finished next"}, "first",
         "next"},
        {"the same item again", [&] { tree->EditLabel(top[2]); }, pressKey(Qt::Key_Return),
         {"finished first", "started first", "finished next"}, "next", "t3"},
        // The view takes one editor at a time: the first is closed for the second.
        {"one item and then another", [&] {
             tree->EditLabel(top[3]);
             tree->EditLabel(top[4]);
         },
         pressKey(Qt::Key_Return), {"finished first", "started t3", "finished t3", "started t4", "finished next"},
         "first", "t3"},
    };
    std::vector<std::string> log;
    std::function<void()> pending;
    Edit* opened = nullptr;
    tree->OnEditStarted.Add([&](QStandardItem* item) { log.push_back("started " + Text(item)); });
    tree->OnEditorCreated.Add([&](QStandardItem*, Edit* editor) { opened = editor; });
    tree->OnEditFinished.Add([&](QStandardItem* item) {
        log.push_back("finished " + Text(item));
        if (pending)
            std::exchange(pending, nullptr)();
    });
    QApplication::setActiveWindow(&window);
    for (const Case& c : cases) {
        for (int i = 2; i < 5; ++i)
            top[i]->setText(QStringLiteral("t%1").arg(i));
        Edit* first = tree->EditLabel(top[2]);
        ASSERT_NE(first, nullptr) << c.name;
        first->SetText(L"first");
        log.clear();
        opened = nullptr;
        pending = c.handle;
        pressKey(Qt::Key_Return)(first);
        ASSERT_NE(opened, nullptr) << c.name;
        opened->SetText(L"next");
        c.close(opened);
        EXPECT_EQ(log, c.log) << c.name;
        EXPECT_EQ(Text(top[2]), c.t2) << c.name;
        EXPECT_EQ(Text(top[3]), c.t3) << c.name;
    }
}

TEST_F(TreeWidgetTest, ALabelEditedByAHandlerWhileAnotherOpensOrClosesIsTheOneOpenAndReported)
{
    Build();
    enum Hook { Started, Created, Finished };
    struct Case
    {
        const char* name;
        // The handler that edits t3, once, while the editor on t2 opens or closes.
        Hook from;
        // Whether the program ends the edit of t2, given "first"; else the handler acts as t2 opens.
        bool endedByProgram;
        std::vector<std::string> log;
        std::string t2;
    };
    // Each editor that opens gets "next" and Return once it is the open one.
    const Case cases[] = {
        {"a start handler", Started, false,
         {"started t2", "finished t2", "started t3", "created t3", "finished next"}, "t2"},
        {"a created handler", Created, false,
         {"started t2", "created t2", "finished t2", "started t3", "created t3", "finished next"}, "t2"},
        {"the finish handler, the edit ended by the program", Finished, true,
         {"started t2", "created t2", "finished first", "started t3", "created t3", "finished next"}, "first"},
    };
    std::vector<std::string> log;
    const Case* current = nullptr;
    Edit* opened = nullptr;
    const auto editNext = [&](Hook hook) {
        if (current && current->from == hook && std::exchange(current, nullptr))
            tree->EditLabel(top[3]);
    };
    tree->OnEditStarted.Add([&](QStandardItem* item) {
        log.push_back("started " + Text(item));
        editNext(Started);
    });
    tree->OnEditorCreated.Add([&](QStandardItem* item, Edit* editor) {
        log.push_back("created " + Text(item));
        opened = editor;
        editNext(Created);
    });
    tree->OnEditFinished.Add([&](QStandardItem* item) {
        log.push_back("finished " + Text(item));
        editNext(Finished);
    });
    QApplication::setActiveWindow(&window);
    for (const Case& c : cases) {
        for (int i = 2; i < 5; ++i)
            top[i]->setText(QStringLiteral("t%1").arg(i));
        log.clear();
        current = &c;
        Edit* first = tree->EditLabel(top[2]);
        if (c.endedByProgram) {
            ASSERT_NE(first, nullptr) << c.name;
            first->SetText(L"first");
            tree->EndEditLabel(true);
        } else {
            EXPECT_EQ(first, nullptr) << c.name << ": t2 is not the label being edited";
        }
        Edit* open = impl().itemDelegate->Editor();
        ASSERT_NE(open, nullptr) << c.name;
        EXPECT_EQ(open, opened) << c.name << ": the editor handed to the handlers is the one open";
        open->SetText(L"next");
        QTest::keyClick(open->GetWndPtr(), Qt::Key_Return);
        QCoreApplication::processEvents();
        EXPECT_EQ(log, c.log) << c.name;
        EXPECT_EQ(Text(top[2]), c.t2) << c.name;
        EXPECT_EQ(Text(top[3]), "next") << c.name;
        EXPECT_EQ(impl().itemDelegate->Editor(), nullptr) << c.name;
    }
}

// The program edits t3 while the editor on t2 is open, which closes that one first; the finish handler
// that close runs edits a label itself. The tree keeps the handler's editor, hands it out only as
// t3's, and each editor reports its own finish.
TEST_F(TreeWidgetTest, AFinishHandlerThatEditsALabelAsTheProgramEditsAnotherKeepsItsEditor)
{
    Build();
    const struct
    {
        const char* name;
        // The index in top of the label the finish handler edits.
        int edits;
        std::vector<std::string> log;
    } cases[] = {
        {"another item", 4, {"finished t2", "started t4", "created t4", "finished next"}},
        {"the item that closed", 2, {"finished t2", "started t2", "created t2", "finished next"}},
        {"the item the program edits", 3, {"finished t2", "started t3", "created t3", "finished next"}},
    };
    std::vector<std::string> log;
    std::function<void()> pending;
    Edit* opened = nullptr;
    tree->OnEditStarted.Add([&](QStandardItem* item) { log.push_back("started " + Text(item)); });
    tree->OnEditorCreated.Add([&](QStandardItem* item, Edit* editor) {
        log.push_back("created " + Text(item));
        opened = editor;
    });
    tree->OnEditFinished.Add([&](QStandardItem* item) {
        log.push_back("finished " + Text(item));
        if (pending)
            std::exchange(pending, nullptr)();
    });
    QApplication::setActiveWindow(&window);
    for (const auto& c : cases) {
        for (int i = 2; i < 5; ++i)
            top[i]->setText(QStringLiteral("t%1").arg(i));
        ASSERT_NE(tree->EditLabel(top[2]), nullptr) << c.name;
        log.clear();
        pending = [&] { tree->EditLabel(top[c.edits]); };
        Edit* handedOut = tree->EditLabel(top[3]);
        Edit* open = impl().itemDelegate->Editor();
        ASSERT_NE(open, nullptr) << c.name;
        EXPECT_EQ(open, opened) << c.name << ": the handler's editor is the one open";
        EXPECT_EQ(handedOut, c.edits == 3 ? open : nullptr) << c.name;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        const auto lines = view()->findChildren<QLineEdit*>();
        EXPECT_EQ(std::count_if(lines.begin(), lines.end(), [](QLineEdit* line) { return line->isVisible(); }), 1)
            << c.name;
        open->SetText(L"next");
        QTest::keyClick(open->GetWndPtr(), Qt::Key_Return);
        QCoreApplication::processEvents();
        EXPECT_EQ(log, c.log) << c.name;
        EXPECT_EQ(Text(top[c.edits]), "next") << c.name;
        EXPECT_EQ(impl().itemDelegate->Editor(), nullptr) << c.name;
    }
}

TEST_F(TreeWidgetTest, AFinishHandlerMayTakeAwayOrBarTheLabelTheProgramEditsNext)
{
    const struct
    {
        const char* name;
        std::function<void(QStandardItem* next)> handle;
    } cases[] = {
        {"takes the item away", [this](QStandardItem* next) { tree->RemoveItem(next); }},
        {"bars its editing", [this](QStandardItem* next) { tree->DisableEditLabel(next, true); }},
    };
    for (const auto& c : cases) {
        tree->RemoveAllItems(true);
        top.clear();
        child.clear();
        Build();
        std::vector<std::string> log;
        QStandardItem* next = top[3];
        const HandlerList<QStandardItem*>::Token started =
            tree->OnEditStarted.Add([&](QStandardItem* item) { log.push_back("started " + Text(item)); });
        const HandlerList<QStandardItem*>::Token finished = tree->OnEditFinished.Add([&](QStandardItem* item) {
            log.push_back("finished " + Text(item));
            c.handle(next);
        });
        ASSERT_NE(tree->EditLabel(top[2]), nullptr) << c.name;
        log.clear();
        EXPECT_EQ(tree->EditLabel(next), nullptr) << c.name;
        EXPECT_EQ(log, std::vector<std::string>{"finished t2"}) << c.name;
        EXPECT_EQ(impl().itemDelegate->Editor(), nullptr) << c.name;
        tree->OnEditStarted.Remove(started);
        tree->OnEditFinished.Remove(finished);
    }
}

// A finish handler deletes the window, the view with it, with plain delete.
TEST_F(TreeWidgetTest, AFinishHandlerMayDeleteTheWindowAsTheLabelCloses)
{
    const struct
    {
        const char* name;
        std::function<void(TreeView& tree, Edit* editor)> close;
    } cases[] = {
        {"Return",
         [](TreeView&, Edit* editor) {
             QTest::keyClick(editor->GetWndPtr(), Qt::Key_Return);
             QCoreApplication::processEvents();
         }},
        {"Escape", [](TreeView&, Edit* editor) { QTest::keyClick(editor->GetWndPtr(), Qt::Key_Escape); }},
        {"the program ending the edit", [](TreeView& tree, Edit*) { tree.EndEditLabel(true); }},
    };
    QApplication::setActiveWindow(&window);
    for (const auto& c : cases) {
        const QPointer<QWidget> dialog = new QWidget(&window);
        auto other = std::make_unique<TreeView>();
        ASSERT_TRUE(other->Create(dialog));
        QStandardItem* item = other->InsertItem(L"label", RootHandle, LastHandle, any(1L));
        dialog->show();
        int finished = 0;
        other->OnEditFinished.Add([&](QStandardItem*) {
            ++finished;
            delete dialog;
        });
        Edit* editor = other->EditLabel(item);
        ASSERT_NE(editor, nullptr) << c.name;
        editor->GetWndPtr()->setFocus();
        c.close(*other, editor);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(dialog.isNull()) << c.name;
        EXPECT_EQ(finished, 1) << c.name;
    }
}

// The program edits a label and a handler lets the tree go meanwhile: the opening ends with no editor,
// no later handler of a gone control runs and nothing freed is touched.
TEST_F(TreeWidgetTest, AHandlerMayLetTheTreeGoWhileTheProgramEditsALabel)
{
    const struct
    {
        const char* name;
        const char* handler;
        Gone gone;
        std::vector<std::string> fired;
    } cases[] = {
        {"start deletes the control", "started", Gone::Control, {"started"}},
        {"start deletes the window", "started", Gone::Window, {"started", "late started"}},
        {"start deletes both", "started", Gone::Both, {"started"}},
        {"created deletes the control", "created", Gone::Control, {"started", "late started", "created"}},
        {"created deletes the window", "created", Gone::Window, {"started", "late started", "created", "late created"}},
        {"created deletes both", "created", Gone::Both, {"started", "late started", "created"}},
        // The label of another item is open, and closes first.
        {"finish deletes the control", "finished", Gone::Control, {"finished"}},
        {"finish deletes the window", "finished", Gone::Window, {"finished", "late finished"}},
        {"finish deletes both", "finished", Gone::Both, {"finished"}},
    };
    for (const auto& c : cases) {
        const QPointer<QWidget> dialog = new QWidget(&window);
        auto other = std::make_unique<TreeView>();
        ASSERT_TRUE(other->Create(dialog));
        QStandardItem* item = other->InsertItem(L"label", RootHandle, LastHandle, any(1L));
        QStandardItem* open = other->InsertItem(L"open", RootHandle, LastHandle, any(2L));
        const QPointer<QWidget> view = other->GetPlatformHandle();
        dialog->show();
        const int childrenBefore = view->children().size();
        if (c.handler == std::string("finished")) {
            ASSERT_NE(other->EditLabel(open), nullptr) << c.name;
        }
        std::vector<std::string> fired;
        const auto fire = [&](const char* handler) {
            fired.push_back(handler);
            if (handler != std::string(c.handler))
                return;
            LetGo(c.gone, other, dialog);
        };
        other->OnEditStarted.Add([&](QStandardItem*) { fire("started"); });
        other->OnEditStarted.Add([&](QStandardItem*) { fired.push_back("late started"); });
        other->OnEditorCreated.Add([&](QStandardItem*, Edit*) { fire("created"); });
        other->OnEditorCreated.Add([&](QStandardItem*, Edit*) { fired.push_back("late created"); });
        other->OnEditFinished.Add([&](QStandardItem*) { fire("finished"); });
        other->OnEditFinished.Add([&](QStandardItem*) { fired.push_back("late finished"); });
        EXPECT_EQ(other->EditLabel(item), nullptr) << c.name;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(fired, c.fired) << c.name;
        EXPECT_EQ(view.isNull(), c.gone != Gone::Control) << c.name;
        if (view) {
            EXPECT_EQ(view->children().size(), childrenBefore) << c.name << ": the editor went";
        }
        delete dialog;
    }
}

// A handler that takes away the item whose label opens ends the opening: no later handler is handed
// the freed item, and no editor is left over another row.
TEST_F(TreeWidgetTest, AHandlerMayTakeAwayTheItemWhoseLabelOpens)
{
    const struct
    {
        const char* name;
        const char* handler;
        std::vector<std::string> fired;
    } cases[] = {
        {"the start handler", "started", {"started t2"}},
        {"the created handler", "created", {"started t2", "created t2"}},
    };
    for (const auto& c : cases) {
        tree->RemoveAllItems(true);
        top.clear();
        child.clear();
        Build();
        std::vector<std::string> fired;
        const auto fire = [&](const char* handler, QStandardItem* item) {
            fired.push_back(std::string(handler) + " " + Text(item));
            if (handler == std::string(c.handler))
                tree->RemoveItem(item);
        };
        const HandlerList<QStandardItem*>::Token started =
            tree->OnEditStarted.Add([&](QStandardItem* item) { fire("started", item); });
        const HandlerList<QStandardItem*, Edit*>::Token created =
            tree->OnEditorCreated.Add([&](QStandardItem* item, Edit*) { fire("created", item); });
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        const int childrenBefore = view()->children().size();
        EXPECT_EQ(tree->EditLabel(top[2]), nullptr) << c.name;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(fired, c.fired) << c.name;
        EXPECT_EQ(view()->children().size(), childrenBefore) << c.name << ": the editor went";
        tree->OnEditStarted.Remove(started);
        tree->OnEditorCreated.Remove(created);
        Edit* next = tree->EditLabel(top[3]);
        ASSERT_NE(next, nullptr) << c.name;
        EXPECT_EQ(next->GetText(), L"t3") << c.name;
        tree->EndEditLabel(false);
    }
}
