#include "ListBoxFixture.h"
#include "PictureBytes.h"

#include <QHeaderView>
#include <QPainter>
#include <QStyle>

using namespace AUILib;
using ListBoxTesting::Texts;

namespace {

class ListBoxColumnsTest : public ListBoxTesting::ListBoxFixture
{
protected:
    static QByteArray Png(QColor color, int size = 12)
    {
        QPixmap pixmap(size, size);
        pixmap.fill(color);
        return PictureBytes::Encoded(pixmap.toImage(), "PNG");
    }

    static const unsigned char* Bytes(const QByteArray& bytes)
    {
        return reinterpret_cast<const unsigned char*>(bytes.constData());
    }

    // The leftmost column of the header's picture, found by its pure red, in device-independent pixels.
    int RedLeft()
    {
        QHeaderView* header = table()->horizontalHeader();
        const QImage image = header->grab().toImage();
        for (int x = 0; x < image.width(); ++x) {
            for (int y = 0; y < image.height(); ++y) {
                if (image.pixelColor(x, y) == QColor(Qt::red))
                    return static_cast<int>(x / image.devicePixelRatio());
            }
        }
        return -1;
    }
};

} // namespace

TEST_F(ListBoxColumnsTest, WidthSettingsFollowEachOperation)
{
    list->AddItem(L"gone", any());
    list->SetColumnsCount(3);
    EXPECT_EQ(list->Count(), 0) << "a new column count clears the rows";
    EXPECT_EQ(list->GetColumnsWidth(), (std::vector<int>{-1, -1, -1}));
    EXPECT_EQ(impl().headerLabels, (QStringList{"Col 0", "Col 1", "Col 2"}));
    list->SetColumnWidth(1, 50);
    list->SetColumnWidth(3, 70);
    list->SetColumnWidth(-1, 70);
    EXPECT_EQ(list->GetColumnsWidth(), (std::vector<int>{-1, 50, -1}));
    EXPECT_EQ(table()->columnWidth(1), 50);
    list->ResizeColumnToContent(2, true);
    list->ResizeColumnToContent(5, true);
    EXPECT_EQ(list->GetColumnsWidth(), (std::vector<int>{-1, 50, -2}));
    EXPECT_TRUE(list->IsSetResizeColumnToContent(2));
    EXPECT_FALSE(list->IsSetResizeColumnToContent(3));
    EXPECT_FALSE(list->IsEnableWordWrapText());
    list->EnableWordWrapText(true);
    EXPECT_EQ(list->GetColumnsWidth(), (std::vector<int>{-1, -1, -1}));
    EXPECT_TRUE(table()->wordWrap());
    list->ResizeColumnToContent(0, true);
    EXPECT_FALSE(table()->wordWrap());

    list->SetColumnsCount(3);
    list->SetColumnsCount(0);
    EXPECT_EQ(list->GetColumnsWidth(), (std::vector<int>{-2, -1, -1})) << "the same count or 0 changes nothing";
}

TEST_F(ListBoxColumnsTest, OnlyTheUsersHeaderDragsAreStored)
{
    list->SetColumnsCount(2);
    list->EnableColumnNames(true);
    QHeaderView* header = table()->horizontalHeader();
    header->resizeSection(0, 80);
    EXPECT_EQ(list->GetColumnsWidth()[0], -1) << "the program's own resize";
    QTest::mousePress(header->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    header->resizeSection(0, 90);
    QTest::mouseRelease(header->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    EXPECT_EQ(list->GetColumnsWidth()[0], 90);
}

TEST_F(ListBoxColumnsTest, HiddenSelectionDrawsLikeAPlainCell)
{
    const QPalette before = table()->palette();
    list->ShowSelection(false);
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        EXPECT_EQ(table()->palette().color(group, QPalette::Highlight), before.color(QPalette::Base));
        EXPECT_EQ(table()->palette().color(group, QPalette::HighlightedText), before.color(QPalette::Text));
    }
    list->ShowSelection(true);
    EXPECT_EQ(table()->palette().color(QPalette::Highlight), before.color(QPalette::Highlight));
    list->SetBackgroundColor(0x102030);
    EXPECT_EQ(table()->palette().color(QPalette::Base), QColor(0x10, 0x20, 0x30));
    EXPECT_EQ(list->GetBackgroundColor(), 0x102030);
}

TEST_F(ListBoxColumnsTest, HeaderPictureGoesRightOfTheTextWhenAsked)
{
    list->SetColumnName(0, L"Name");
    const QByteArray red = Png(Qt::red);
    list->AddPictureToHeader(0, Bytes(red), red.size(), ImageTypes(4), 12, BitmapType::Default);
    table()->horizontalHeader()->resize(300, 24);
    const int qtLeft = RedLeft();
    ASSERT_GE(qtLeft, 0);
    list->SetHeaderPictureAlign(0, ListBox::PictureRight);
    EXPECT_EQ(list->GetHeaderPictureAlign(0), ListBox::PictureRight);
    const QHeaderView* header = table()->horizontalHeader();
    const int margin = header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
    const int textWidth = header->fontMetrics().horizontalAdvance(QStringLiteral("Name"));
    const int left = RedLeft();
    EXPECT_GT(left, qtLeft);
    EXPECT_NEAR(left, header->sectionViewportPosition(0) + 2 * margin + textWidth, 8);

    list->SetHeaderPictureAlign(1, ListBox::PictureLeft);
    EXPECT_EQ(list->GetHeaderPictureAlign(1), ListBox::PictureLeft);
    list->AddPictureToHeader(0, nullptr, 0, ImageTypes(4), 12, BitmapType::Default);
    EXPECT_EQ(RedLeft(), -1) << "no bytes, no picture";
}

TEST_F(ListBoxColumnsTest, PicturesWithoutBytesAreEmptyIcons)
{
    list->AddItem(L"a", any());
    const QByteArray red = Png(Qt::red);
    list->AddPicture(0, Bytes(red), red.size(), ImageTypes(4), 20, BitmapType::Default);
    EXPECT_FALSE(qvariant_cast<QIcon>(table()->item(0, 0)->data(Qt::DecorationRole)).isNull());
    EXPECT_EQ(table()->iconSize(), QSize(20, 20));
    list->AddPicture(0, Bytes(red), 0, ImageTypes(4), 20, BitmapType::Default);
    EXPECT_TRUE(qvariant_cast<QIcon>(table()->item(0, 0)->data(Qt::DecorationRole)).isNull());
    list->AddPictureEx(5, 0, L"/no/such/picture.png", 32, BitmapType::Default);
    EXPECT_EQ(table()->iconSize(), QSize(32, 32)) << "the path form sizes icons without a cell";
    list->AddPictureSysIcon(0, L"/no/such/file");
    EXPECT_TRUE(qvariant_cast<QIcon>(table()->item(0, 0)->data(Qt::DecorationRole)).isNull());
}

TEST_F(ListBoxColumnsTest, RowButtonColumnHasItsCellsBeforeAnyPaint)
{
    const QByteArray blue = Png(Qt::blue, 10);
    list->AddRowButton(L"/no/such/button.png");
    EXPECT_EQ(table()->columnCount(), 1) << "a picture that does not load adds nothing";
    list->AddRowButton(Bytes(blue), blue.size(), ImageTypes(4));
    EXPECT_EQ(table()->columnCount(), 2);
    EXPECT_EQ(list->GetColumnsCount(), 1);
    EXPECT_EQ(table()->columnWidth(1), 24);
    list->AddItem(L"a", any());
    list->AddItem(L"b", any());
    ASSERT_NE(table()->item(1, 1), nullptr) << "made with the row";
    log.clear();
    table()->grab();
    EXPECT_TRUE(log.empty()) << "painting changes nothing in the model";
    unsigned int flags = 0;
    int column = -1;
    const QPoint button = RowCentre(0, 1);
    list->HitTest({button.x(), button.y()}, &flags, &column);
    EXPECT_EQ(flags, 4u | 16u);

    list->AddRowButton(nullptr, 0, ImageTypes(4));
    EXPECT_EQ(table()->columnCount(), 1);
    EXPECT_EQ(impl().headerLabels.size(), 1);
}

TEST_F(ListBoxColumnsTest, BehaviourSwitches)
{
    list->SetEditItems(ListBox::Editable(1));
    EXPECT_EQ(table()->editTriggers(), QAbstractItemView::DoubleClicked);
    table()->setEditTriggers(QAbstractItemView::AllEditTriggers);
    list->SetEditItems(ListBox::Editable(1));
    EXPECT_EQ(table()->editTriggers(), QAbstractItemView::AllEditTriggers) << "the same value touches nothing";
    list->SetEditItems(ListBox::NotEditable);
    EXPECT_EQ(table()->editTriggers(), QAbstractItemView::NoEditTriggers);

    list->EnableRowsDragAndDrop(true);
    EXPECT_EQ(table()->dragDropMode(), QAbstractItemView::DragDrop);
    EXPECT_EQ(table()->defaultDropAction(), Qt::MoveAction);
    EXPECT_TRUE(table()->acceptDrops());
    list->SetAcceptDrops(false);
    EXPECT_TRUE(table()->acceptDrops()) << "row moves need drops";
    list->EnableRowsDragAndDrop(false);
    EXPECT_FALSE(table()->acceptDrops());

    list->SetItemsHeight(30);
    list->AddItem(L"a", any());
    EXPECT_EQ(table()->rowHeight(0), 30);
    list->SetAutomaticSearch(false);
    list->AddItem(L"zebra", any());
    table()->setCurrentCell(0, 0);
    QTest::keyClicks(table(), QStringLiteral("z"));
    EXPECT_EQ(table()->currentRow(), 0);
    list->SetAutomaticSearch(true);
    QTest::keyClicks(table(), QStringLiteral("z"));
    EXPECT_EQ(table()->currentRow(), 1);
}
