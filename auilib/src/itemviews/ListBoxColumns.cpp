#include "ListBox.h"

#include "HeaderProxyStyle.h"
#include "ListBoxImpl.h"
#include "ListBoxItemDelegate.h"
#include "WideText.h"

#include <QFileIconProvider>
#include <QFileInfo>
#include <QHeaderView>
#include <QStyle>

namespace AUILib {

namespace {

QIcon IconFromBytes(const unsigned char* bytes, int length, ImageTypes type)
{
    if (!bytes || length <= 0)
        return {};
    QPixmap pixmap;
    pixmap.loadFromData(bytes, static_cast<uint>(length), AUILibUtils::ImageTypeToStr(type).c_str());
    QIcon icon;
    icon.addPixmap(pixmap, QIcon::Normal, QIcon::Off);
    return icon;
}

QImage ImageFromBytes(const unsigned char* bytes, int length, ImageTypes type)
{
    QImage image;
    if (bytes && length > 0)
        image.loadFromData(bytes, length, AUILibUtils::ImageTypeToStr(type).c_str());
    return image;
}

QPalette WithColor(QPalette palette, QPalette::ColorRole role, int rgb)
{
    palette.setBrush(QPalette::All, role, QBrush(QColor(QRgb(rgb))));
    return palette;
}

} // namespace

void ListBox::SetColumnsCount(int count)
{
    ListBoxImpl& impl = *m_impl;
    ListBoxQt* table = impl.table;
    if (!table || impl.RemovalUnderway() || count < 1 || count == impl.columnCount)
        return;
    Clear();
    impl.headerLabels.clear();
    for (int column = 0; column < table->columnCount(); ++column) {
        if (QTableWidgetItem* header = table->horizontalHeaderItem(column))
            header->setData(Qt::DecorationRole, QVariant());
    }
    impl.columnCount = count;
    table->setColumnCount(count);
    QHeaderView* header = table->horizontalHeader();
    header->setStretchLastSection(false);
    const int spare = table->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 2;
    if (!header->isHidden()) {
        header->setDefaultSectionSize((table->width() - spare) / count);
    } else if (count >= 2) {
        for (int column = 0; column < count; ++column)
            table->setColumnWidth(column, (header->width() - spare) / count);
    }
    header->setStretchLastSection(true);
    impl.columnWidths.assign(static_cast<std::size_t>(count), -1);
    for (int column = 0; column < count; ++column)
        impl.headerLabels.append(QStringLiteral("Col %1").arg(column));
    if (!impl.rowButtonPicture.isNull()) {
        const QImage picture = impl.rowButtonPicture;
        impl.UpdateRowButtonColumn(true);
        impl.rowButtonPicture = picture;
        impl.UpdateRowButtonColumn(false);
    }
    impl.headerDefaultSizeSet = true;
    table->viewport()->update();
}

int ListBox::GetColumnsCount()
{
    return m_impl->columnCount;
}

bool ListBox::SetColumnName(int column, const std::wstring& name)
{
    ListBoxImpl& impl = *m_impl;
    ListBoxQt* table = impl.table;
    if (!table || column < 0 || column >= impl.headerLabels.size())
        return false;
    SetHeaderDefaultSize();
    impl.headerLabels[column] = ToQString(name);
    table->setHorizontalHeaderLabels(impl.headerLabels);
    table->horizontalHeader()->show();
    table->viewport()->update();
    return true;
}

void ListBox::EnableColumnNames(bool on)
{
    if (ListBoxQt* table = m_impl->table)
        table->horizontalHeader()->setVisible(on);
}

void ListBox::SetColumnWidth(int column, int width)
{
    ListBoxImpl& impl = *m_impl;
    if (!impl.table || column < 0 || column >= impl.columnCount)
        return;
    impl.columnWidths[column] = width;
    impl.table->setColumnWidth(column, width);
    impl.headerDefaultSizeSet = true;
    impl.table->viewport()->update();
}

std::vector<int> ListBox::GetColumnsWidth()
{
    return m_impl->columnWidths;
}

void ListBox::ResizeColumnToContent(int column, bool on)
{
    ListBoxImpl& impl = *m_impl;
    if (!impl.table || column < 0 || column >= impl.columnCount)
        return;
    impl.columnWidths[column] = on ? -2 : -1;
    if (on)
        AutoResizeColumn(column);
}

bool ListBox::IsSetResizeColumnToContent(int column)
{
    return column >= 0 && column < m_impl->columnCount && m_impl->columnWidths[column] == -2;
}

void ListBox::SetCellPicture(int row, int column, const QIcon& icon)
{
    ListBoxQt* table = m_impl->table;
    if (QTableWidgetItem* item = table->item(row, column)) {
        item->setData(Qt::DecorationRole, icon);
        AutoResizeColumn(column);
    }
    table->viewport()->update();
}

void ListBox::AddPictureEx(int row, int column, const std::wstring& path, int size, BitmapType)
{
    ListBoxQt* table = m_impl->table;
    if (!table)
        return;
    table->setIconSize(QSize(size, size));
    SetCellPicture(row, column, path.empty() ? QIcon() : QIcon(ToQString(path)));
}

void ListBox::AddPictureEx(int row, int column, const unsigned char* bytes, int length, ImageTypes type, int size,
                           BitmapType)
{
    ListBoxQt* table = m_impl->table;
    if (!table || !table->item(row, column))
        return;
    if (bytes && length > 0)
        table->setIconSize(QSize(size, size));
    SetCellPicture(row, column, IconFromBytes(bytes, length, type));
}

void ListBox::AddPicture(int row, const std::wstring& path, int size, BitmapType type)
{
    AddPictureEx(row, 0, path, size, type);
}

void ListBox::AddPicture(int row, const unsigned char* bytes, int length, ImageTypes type, int size,
                         BitmapType bitmapType)
{
    AddPictureEx(row, 0, bytes, length, type, size, bitmapType);
}

void ListBox::AddPictureSysIcon(int row, const std::wstring& path)
{
    AddPictureSysIconEx(row, 0, path);
}

void ListBox::AddPictureSysIconEx(int row, int column, const std::wstring& path)
{
    ListBoxQt* table = m_impl->table;
    const QFileInfo file(ToQString(path));
    if (!table || !file.exists())
        return;
    SetCellPicture(row, column, QFileIconProvider().icon(file));
}

void ListBox::AddPictureToHeader(int column, const std::wstring& path, int size, BitmapType)
{
    ListBoxImpl& impl = *m_impl;
    QTableWidgetItem* header = impl.table ? impl.table->horizontalHeaderItem(column) : nullptr;
    if (!header || !impl.headerStyle)
        return;
    header->setData(Qt::DecorationRole, QIcon(ToQString(path)));
    impl.headerStyle->pictureSize.insert(column, QSize(size, size));
}

void ListBox::AddPictureToHeader(int column, const unsigned char* bytes, int length, ImageTypes type, int size,
                                 BitmapType)
{
    ListBoxImpl& impl = *m_impl;
    QTableWidgetItem* header = impl.table ? impl.table->horizontalHeaderItem(column) : nullptr;
    if (!header || !impl.headerStyle)
        return;
    const QIcon icon = IconFromBytes(bytes, length, type);
    header->setData(Qt::DecorationRole, icon);
    if (!icon.isNull())
        impl.headerStyle->pictureSize.insert(column, QSize(size, size));
    impl.table->viewport()->update();
}

void ListBox::SetHeaderPictureAlign(int column, HeaderStyle style)
{
    if (style == PictureRight && m_impl->headerStyle)
        m_impl->headerStyle->pictureAlign.insert(column, style);
}

ListBox::HeaderStyle ListBox::GetHeaderPictureAlign(int column)
{
    return m_impl->headerStyle ? m_impl->headerStyle->pictureAlign.value(column, PictureLeft) : PictureLeft;
}

void ListBox::SetHeaderTooltip(int column, const std::wstring& text)
{
    ListBoxQt* table = m_impl->table;
    if (QTableWidgetItem* header = table ? table->horizontalHeaderItem(column) : nullptr)
        header->setData(Qt::ToolTipRole, ToQString(text));
}

void ListBox::AddRowButton(const std::wstring& path)
{
    ListBoxImpl& impl = *m_impl;
    if (!impl.table || impl.RemovalUnderway())
        return;
    impl.rowButtonPicture = QImage(ToQString(path));
    impl.UpdateRowButtonColumn(false);
    impl.table->viewport()->update();
}

void ListBox::AddRowButton(const unsigned char* bytes, int length, ImageTypes type)
{
    ListBoxImpl& impl = *m_impl;
    if (!impl.table || impl.RemovalUnderway())
        return;
    if (!bytes) {
        impl.UpdateRowButtonColumn(true);
        return;
    }
    impl.rowButtonPicture = ImageFromBytes(bytes, length, type);
    impl.UpdateRowButtonColumn(false);
    impl.table->viewport()->update();
}

void ListBox::ShowSelection(bool show)
{
    // A report handler may open an editor while the others close, or let the list or its table go.
    const QPointer<ItemDelegate> delegate = m_impl->delegate;
    if (delegate) {
        delegate->showSelection = show;
        delegate->CloseEditors();
        if (delegate)
            delegate->ApplySelectionColours();
    } else {
        m_impl->ApplySelectionPalette(show);
    }
}

void ListBox::UnderlineItems(bool on)
{
    m_impl->underlineItems = on;
    if (m_impl->table)
        m_impl->table->viewport()->update();
}

void ListBox::SetItemsHeight(int height)
{
    ListBoxQt* table = m_impl->table;
    if (!table || height <= 0)
        return;
    table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table->verticalHeader()->setDefaultSectionSize(height);
}

void ListBox::SelectItemOnSetFocus(bool on)
{
    if (ListBoxQt* table = m_impl->table) {
        table->selectItemOnSetFocus = on;
        table->keepSelection = false;
    }
}

void ListBox::SetAutomaticSearch(bool on)
{
    if (ListBoxQt* table = m_impl->table)
        table->automaticSearch = on;
}

void ListBox::EnableItemsAutoTooltip(bool enable, int maxLength)
{
    m_impl->autoTooltip = enable ? 1 : 0;
    m_impl->autoTooltipMaxLength = maxLength;
}

void ListBox::EnableWordWrapText(bool on)
{
    ListBoxImpl& impl = *m_impl;
    impl.wordWrap = on;
    if (on)
        impl.columnWidths.assign(impl.columnWidths.size(), -1);
    if (impl.table)
        impl.table->setWordWrap(on);
}

bool ListBox::IsEnableWordWrapText()
{
    return m_impl->wordWrap;
}

void ListBox::SetEditItems(Editable editable)
{
    ListBoxImpl& impl = *m_impl;
    if (!impl.table || editable == impl.editable)
        return;
    impl.table->setEditTriggers(editable != NotEditable ? QAbstractItemView::DoubleClicked
                                                        : QAbstractItemView::NoEditTriggers);
    impl.editable = editable;
}

bool ListBox::IsSetEditItems()
{
    return m_impl->editable != NotEditable;
}

void ListBox::EnableRowsDragAndDrop(bool on)
{
    ListBoxImpl& impl = *m_impl;
    ListBoxQt* table = impl.table;
    if (!table)
        return;
    table->setDragEnabled(on);
    table->setDropIndicatorShown(on);
    table->setDefaultDropAction(on ? Qt::MoveAction : Qt::IgnoreAction);
    table->setDragDropMode(on ? QAbstractItemView::DragDrop : QAbstractItemView::NoDragDrop);
    table->setDragDropOverwriteMode(false);
    impl.rowsDragAndDrop = on;
    table->setAcceptDrops(impl.acceptDrops ? true : on);
}

bool ListBox::IsEnableRowsDragAndDrop()
{
    return m_impl->rowsDragAndDrop;
}

void ListBox::SetBackgroundColor(int rgb)
{
    m_impl->backgroundColor = rgb;
    if (ListBoxQt* table = m_impl->table)
        table->setPalette(WithColor(table->palette(), QPalette::Base, rgb));
}

int ListBox::GetBackgroundColor()
{
    return m_impl->backgroundColor;
}

void ListBox::SetTextColor(int rgb)
{
    m_impl->textColor = rgb;
    if (ListBoxQt* table = m_impl->table) {
        table->setAutoFillBackground(true);
        table->setPalette(WithColor(table->palette(), QPalette::Text, rgb));
    }
}

int ListBox::GetTextColor()
{
    return m_impl->textColor;
}

} // namespace AUILib
