#include "TreeTestSupport.h"

#include <QToolTip>

using namespace AUILib;

namespace {

class TreeAppearanceTest : public TreeFixture
{
protected:
    // Whether any pixel of the area (in logical pixels) has the colour.
    static bool Shows(const QImage& image, QRect area, QColor colour)
    {
        const qreal ratio = image.devicePixelRatio();
        area = QRect(area.topLeft() * ratio, area.size() * ratio) & image.rect();
        for (int y = area.top(); y <= area.bottom(); ++y) {
            for (int x = area.left(); x <= area.right(); ++x) {
                if (image.pixelColor(x, y).rgb() == colour.rgb())
                    return true;
            }
        }
        return false;
    }

    QRect BranchArea(QStandardItem* item) const
    {
        const QRect rect = view()->visualRect(item->index());
        return QRect(0, rect.top(), rect.left(), rect.height());
    }
};

} // namespace

TEST_F(TreeAppearanceTest, RulesAccumulateUntilTheSavedSheetIsRestored)
{
    const QString saved = view()->styleSheet();
    tree->SetBackgroundColor(0x102030);
    tree->SetTextColor(0x405060, false);
    tree->SetSelectionColors(0x010203, -1);
    tree->SetSelectionColors(0x010203, 0x0A0B0C);
    tree->SetItemHeight(0);
    tree->SetItemHeight(20);
    EXPECT_EQ(view()->styleSheet(),
              saved + "QTreeView{background-color:#102030;}QTreeView{color:#405060;}"
                      "QTreeView{selection-background-color: transparent; selection-color:#010203;}"
                      "QTreeView{selection-background-color: #0a0b0c; selection-color:#010203;}"
                      "QTreeView::item { height: 20px }");
    EXPECT_EQ(tree->GetItemHeight(), 20);
    EXPECT_EQ(tree->GetTextColor(), 0x405060);

    tree->SetStyle(16, 0);
    EXPECT_TRUE(view()->styleSheet().endsWith("QTreeView::item:!active { background-color: transparent; }"));
    EXPECT_FALSE(impl().style->Flags() & CustomStyle::InactiveSelectionBranch);
    tree->SetStyle(0, 16);
    EXPECT_EQ(view()->styleSheet(), saved);
    EXPECT_TRUE(impl().style->Flags() & CustomStyle::InactiveSelectionBranch);
}

TEST_F(TreeAppearanceTest, StyleBitsSwitchCheckBoxesExpandersAndSelection)
{
    QStandardItem* item = tree->AddItem(L"item", any());
    tree->SetStyle(0, 8);
    EXPECT_EQ(tree->GetCheckMode(), 1);
    EXPECT_TRUE(item->isCheckable());
    EXPECT_EQ(view()->selectionMode(), QAbstractItemView::ExtendedSelection);
    tree->SetStyle(8, 0);
    EXPECT_EQ(tree->GetCheckMode(), 0);
    EXPECT_FALSE(item->isCheckable());

    tree->SetStyle(1 | 2, 32 | 64);
    EXPECT_EQ(impl().style->Flags(), CustomStyle::NoExpanders | CustomStyle::BoxedExpanders |
                                         CustomStyle::InactiveSelectionBranch);
    EXPECT_FALSE(impl().expanders);
    EXPECT_EQ(view()->selectionBehavior(), QAbstractItemView::SelectRows);
    tree->SetStyle(32, 1);
    EXPECT_TRUE(impl().expanders);
    EXPECT_EQ(view()->selectionBehavior(), QAbstractItemView::SelectItems);
}

TEST_F(TreeAppearanceTest, FontsAndColoursOfItems)
{
    QStandardItem* item = tree->AddItem(L"item", any());
    QFont font = view()->font();
    font.setWeight(57);
    item->setFont(font);
    EXPECT_FALSE(tree->IsItemBold(item));
    font.setWeight(58);
    item->setFont(font);
    EXPECT_TRUE(tree->IsItemBold(item));
    tree->SetItemBold(item, false);
    EXPECT_FALSE(tree->IsItemBold(item));

    QFont viewFont = view()->font();
    viewFont.setWeight(51);
    view()->setFont(viewFont);
    EXPECT_EQ(tree->GetFont().bold, 1);

    FontData italic;
    italic.italic = 1;
    tree->SetItemFont(item, italic);
    EXPECT_EQ(tree->GetItemFont(item).italic, 1);
    EXPECT_EQ(tree->GetItemFont(item).bold, 0);

    QStandardItem* other = tree->AddItem(L"other", any());
    tree->SetItemTextColor(item, 0x112233);
    EXPECT_EQ(tree->GetItemTextColor(item), 0x112233);
    tree->SetTextColor(0x445566, true);
    EXPECT_EQ(tree->GetItemTextColor(item), 0x445566) << "own colours follow";
    EXPECT_EQ(tree->GetItemTextColor(other), 0x445566) << "through the sheet's colour";
    EXPECT_FALSE(other->data(Qt::ForegroundRole).isValid());
}

TEST_F(TreeAppearanceTest, TooltipsShowOverTheirItems)
{
    QStandardItem* item = tree->AddItem(L"with a tip", any());
    QStandardItem* silent = tree->AddItem(L"silent", any());
    tree->SetItemTooltip(item, L"the tip");
    tree->SetItemTooltip(silent, L"");
    tree->SetItemToolTipMaxWidth(50);
    EXPECT_EQ(impl().toolTipMaxWidth, -1);
    tree->SetItemToolTipMaxWidth(51);
    EXPECT_EQ(impl().toolTipMaxWidth, 51);

    EXPECT_TRUE(impl().ShowToolTip(viewport()->mapToGlobal(LabelPoint(silent))));
    EXPECT_FALSE(QToolTip::isVisible()) << "an empty tip shows nothing";
    EXPECT_TRUE(impl().ShowToolTip(viewport()->mapToGlobal(LabelPoint(item))));
    EXPECT_EQ(QToolTip::text(), "<div style='white-space:pre-wrap; max-width:51px;'>the tip</div>");
    EXPECT_EQ(tree->GetItemToolTip(silent), L"");
    EXPECT_FALSE(impl().ShowToolTip(viewport()->mapToGlobal(QPoint(5, viewport()->height() - 3))));
    QToolTip::hideText();
}

TEST_F(TreeAppearanceTest, VirtualTooltipsFollowTheNode)
{
    tree->SetVirtualMode(true);
    std::wstring text = L"node";
    VirtTreeItem* node = tree->AddVirtualTreeItem(text, nullptr, any());
    tree->SetItemTooltip(node, L"virtual tip");
    tree->UpdateVirtualView();
    const QRect rect = view()->visualRect(impl().treeModel->IndexOf(node));
    EXPECT_TRUE(impl().ShowToolTip(viewport()->mapToGlobal(rect.center())));
    EXPECT_EQ(QToolTip::text(), "virtual tip");
    EXPECT_EQ(impl().lastToolTipVirtual, node);
    QToolTip::hideText();
}

TEST_F(TreeAppearanceTest, BranchTrianglesInLightAndDarkPalettes)
{
    QStandardItem* parent = tree->AddItem(L"parent", any());
    tree->AddSubItem(L"child", any(), parent);
    const QPalette original = QApplication::palette();
    const QColor mid = view()->palette().color(QPalette::Mid);
    QImage light = view()->grab().toImage();
    const QRect branch = BranchArea(parent).translated(viewport()->pos());
    EXPECT_TRUE(Shows(light, branch, mid)) << "a closed triangle in the Mid colour";

    QPalette dark = original;
    dark.setColor(QPalette::Window, QColor(0x20, 0x20, 0x20));
    dark.setColor(QPalette::Base, QColor(0x10, 0x10, 0x10));
    dark.setColor(QPalette::Text, QColor(0xEE, 0xDD, 0xCC));
    QApplication::setPalette(dark);
    tree->SetExpanded(parent, true);
    QImage darkImage = view()->grab().toImage();
    QApplication::setPalette(original);
    EXPECT_TRUE(Shows(darkImage, branch, QColor(0xEE, 0xDD, 0xCC))) << "an open triangle in the Text colour";
    EXPECT_FALSE(Shows(darkImage, branch, mid));

    tree->SetStyle(1, 0);
    EXPECT_FALSE(Shows(view()->grab().toImage(), branch, mid)) << "no expanders";
}

TEST_F(TreeAppearanceTest, BoldSpansPaintOnlyWhenTheyAreSpans)
{
    tree->SetVirtualMode(true);
    std::wstring text = L"abcdefg";
    VirtTreeItem* node = tree->AddVirtualTreeItem(text, nullptr, any());
    tree->UpdateVirtualView();
    const auto row = [&]() {
        view()->viewport()->update();
        return view()->viewport()->grab(view()->visualRect(impl().treeModel->IndexOf(node))).toImage();
    };
    const QImage plain = row();
    tree->SetBoldTextPosition(node, 4, 2);
    EXPECT_EQ(row(), plain) << "a span that ends before it starts";
    tree->SetBoldTextPosition(node, 2, 4);
    const QImage bold = row();
    EXPECT_NE(bold, plain);
    EXPECT_EQ(node->GetText(), L"abcdefg");
}

TEST_F(TreeAppearanceTest, WordWrapGivesLongTextsTallerRows)
{
    view()->resize(120, 300);
    QStandardItem* shortItem = tree->AddItem(L"short", any());
    QStandardItem* longItem = tree->AddItem(L"a rather long text that cannot stay on one line here", any());
    tree->EnableWordWrapText(true);
    EXPECT_TRUE(tree->IsEnabledWordWrapText());
    const int shortHeight = shortItem->data(Qt::SizeHintRole).toSize().height();
    const int longHeight = longItem->data(Qt::SizeHintRole).toSize().height();
    EXPECT_GT(longHeight, shortHeight);
    tree->EnableWordWrapText(false);
    EXPECT_FALSE(longItem->data(Qt::SizeHintRole).isValid());
}
