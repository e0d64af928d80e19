#include "TreeView.h"

#include "FontDataQt.h"
#include "TreeViewImpl.h"
#include "WideText.h"

#include <QFontInfo>
#include <QHeaderView>

namespace AUILib {

namespace {

enum StyleBit : int {
    CheckBoxesBit = 8,
    ExpandersBit = 1,
    ActiveSelectionOnlyBit = 16,
    RowSelectionBit = 32,
    BoxedExpandersBit = 64,
    CommonBranchesBit = 2,
};

constexpr int kStyleBitOrder[] = {CheckBoxesBit, ExpandersBit, ActiveSelectionOnlyBit,
                                  RowSelectionBit, BoxedExpandersBit, CommonBranchesBit};

FontData StoredFontData(const QFont& font, int boldWeight)
{
    FontData data;
    data.faceName = ToWString(font.family());
    data.pointSize = font.pointSizeF();
    data.bold = font.weight() >= boldWeight ? 1 : 0;
    data.italic = font.italic() ? 1 : 0;
    data.underline = font.underline() ? 1 : 0;
    return data;
}

QFont FontOf(const FontData& data)
{
    return Overlaid(QFont(), data);
}

void Remember(std::vector<QPersistentModelIndex>& list, QStandardItem* item)
{
    const QPersistentModelIndex index(item->index());
    if (std::find(list.begin(), list.end(), index) == list.end())
        list.push_back(index);
}

} // namespace

void TreeView::SetStyle(StyleFlag remove, StyleFlag add)
{
    if (!m_impl->IsStandardMode())
        return;
    TreeViewQt* widget = m_impl->widget;
    CustomStyle& style = *m_impl->style;
    const auto setFlag = [&](CustomStyle::Flag flag, bool on) {
        if (style.SetFlag(flag, on))
            m_impl->ApplyCustomStyle();
    };
    const auto apply = [&](int bit, bool on) {
        switch (bit) {
        case CheckBoxesBit:
            for (QStandardItem* item : m_impl->AllItems())
                item->setCheckable(on);
            if (on) {
                SetMultiSelection(true);
                EnableRowsDragAndDrop(false);
            }
            m_impl->checkMode = on ? 1 : 0;
            break;
        case ExpandersBit:
            setFlag(CustomStyle::NoExpanders, !on);
            if (on)
                SetCheckMode(m_impl->checkMode);
            m_impl->expanders = on;
            break;
        case ActiveSelectionOnlyBit:
            setFlag(CustomStyle::InactiveSelectionBranch, on);
            widget->setStyleSheet(on ? m_impl->savedStyleSheet
                                     : widget->styleSheet() +
                                           QStringLiteral("QTreeView::item:!active { background-color: transparent; }"));
            break;
        case RowSelectionBit:
            widget->setSelectionBehavior(on ? QAbstractItemView::SelectRows : QAbstractItemView::SelectItems);
            break;
        case BoxedExpandersBit:
            setFlag(CustomStyle::BoxedExpanders, on);
            break;
        case CommonBranchesBit:
            setFlag(CustomStyle::CommonBranches, on);
            break;
        }
    };
    for (const bool adding : {true, false}) {
        const int bits = adding ? add : remove;
        if (bits <= 0)
            continue;
        for (const int bit : kStyleBitOrder) {
            if (bits & bit)
                apply(bit, adding);
        }
    }
    widget->viewport()->repaint();
}

void TreeView::SetBackgroundColor(RGBColor color)
{
    if (m_impl->IsStandardMode())
        m_impl->AppendStyleSheet(QStringLiteral("QTreeView{background-color:%1;}").arg(QColor(color.value).name()));
}

void TreeView::SetTextColor(int color, bool ownColoursToo)
{
    if (!m_impl->IsStandardMode())
        return;
    m_impl->textColor = color;
    m_impl->AppendStyleSheet(QStringLiteral("QTreeView{color:%1;}").arg(QColor(static_cast<QRgb>(color)).name()));
    if (!ownColoursToo)
        return;
    // One sheet change for all the items: the end state is that of recolouring them one by one.
    TreeViewQt* widget = m_impl->widget;
    const QString sheet = widget->styleSheet();
    widget->setStyleSheet(QString());
    for (const QPersistentModelIndex& index : m_impl->ownTextColors) {
        if (QStandardItem* item = m_impl->ItemOf(index))
            item->setData(QColor(static_cast<QRgb>(color)), Qt::ForegroundRole);
    }
    widget->setStyleSheet(sheet);
}

int TreeView::GetTextColor()
{
    if (!m_impl->IsStandardMode())
        return -1;
    if (m_impl->textColor >= 0)
        return m_impl->textColor;
    const QColor color = m_impl->widget->palette().color(QPalette::Text);
    return color.isValid() ? static_cast<int>(color.rgb() & 0xFFFFFF) : -1;
}

void TreeView::SetItemTextColor(QStandardItem* item, int color)
{
    if (!m_impl->IsItem(item))
        return;
    TreeViewQt* widget = m_impl->widget;
    const QString sheet = widget->styleSheet();
    widget->setStyleSheet(QString());
    item->setData(QColor(static_cast<QRgb>(color)), Qt::ForegroundRole);
    widget->setStyleSheet(sheet);
    Remember(m_impl->ownTextColors, item);
}

int TreeView::GetItemTextColor(QStandardItem* item)
{
    if (!m_impl->IsItem(item))
        return -1;
    const QVariant color = item->data(Qt::ForegroundRole);
    if (!color.isValid())
        return GetTextColor();
    return static_cast<int>(color.value<QBrush>().color().rgb() & 0xFFFFFF);
}

void TreeView::SetSelectionColors(int text, int background)
{
    if (!m_impl->IsStandardMode())
        return;
    m_impl->style->SetSelectionColorsSet(true);
    const QString textName = QColor(static_cast<QRgb>(text)).name();
    if (background < 0)
        m_impl->AppendStyleSheet(
            QStringLiteral("QTreeView{selection-background-color: transparent; selection-color:%1;}").arg(textName));
    else
        m_impl->AppendStyleSheet(QStringLiteral("QTreeView{selection-background-color: %1; selection-color:%2;}")
                                     .arg(QColor(static_cast<QRgb>(background)).name(), textName));
}

void TreeView::SetItemHeight(int height)
{
    if (!m_impl->IsStandardMode() || height <= 0)
        return;
    m_impl->itemHeight = height;
    m_impl->AppendStyleSheet(QStringLiteral("QTreeView::item { height: %1px }").arg(height));
}

int TreeView::GetItemHeight()
{
    if (!m_impl->IsStandardMode())
        return -1;
    if (m_impl->itemHeight < 0)
        m_impl->itemHeight = m_impl->widget->sizeHintForRow(0);
    return m_impl->itemHeight;
}

void TreeView::SetFont(FontData& font, bool ownFontsToo)
{
    if (!m_impl->IsStandardMode())
        return;
    m_impl->widget->setFont(Overlaid(FontOf(GetFont()), font));
    if (ownFontsToo) {
        for (const QPersistentModelIndex& index : std::vector<QPersistentModelIndex>(m_impl->ownFonts)) {
            if (QStandardItem* item = m_impl->ItemOf(index))
                SetItemFont(item, font);
        }
    }
    if (m_impl->widget->wordWrap())
        m_impl->UpdateWrappedTextSizeHint(false);
}

FontData TreeView::GetFont()
{
    if (m_impl->IsStandardMode())
        return FontDataOf(QFontInfo(m_impl->widget->font()));
    FontData none;
    none.pointSize = -1.0;
    return none;
}

void TreeView::SetItemBold(QStandardItem* item, bool bold)
{
    if (!m_impl->IsItem(item))
        return;
    QFont font = item->font();
    font.setWeight(bold ? 75 : 50);
    item->setFont(font);
}

bool TreeView::IsItemBold(QStandardItem* item)
{
    return m_impl->IsItem(item) && item->font().weight() >= 58;
}

FontData TreeView::GetItemFont(QStandardItem* item)
{
    if (!m_impl->IsItem(item)) {
        FontData none;
        none.pointSize = -1.0;
        return none;
    }
    const QVariant font = item->data(Qt::FontRole);
    return font.isValid() ? StoredFontData(font.value<QFont>(), 58) : GetFont();
}

void TreeView::SetItemFont(QStandardItem* item, FontData& font)
{
    if (!m_impl->IsItem(item))
        return;
    item->setData(Overlaid(FontOf(GetItemFont(item)), font), Qt::FontRole);
    m_impl->RenewSizeHint(item);
    Remember(m_impl->ownFonts, item);
}

void TreeView::EnableWordWrapText(bool on)
{
    if (!m_impl->IsStandardMode())
        return;
    TreeViewQt* widget = m_impl->widget;
    widget->setWordWrap(on);
    if (on) {
        widget->setColumnWidth(0, widget->width() - 2);
        m_impl->UpdateWrappedTextSizeHint(false);
        widget->header()->resizeSection(0, 0);
        widget->resizeColumnToContents(0);
        return;
    }
    m_impl->UpdateWrappedTextSizeHint(true);
    m_impl->RefitColumn();
}

bool TreeView::IsEnabledWordWrapText()
{
    return m_impl->widget && m_impl->widget->wordWrap();
}

void TreeView::SetItemTooltip(QStandardItem* item, const std::wstring& text)
{
    if (m_impl->IsItem(item))
        m_impl->toolTips[item] = text;
}

std::wstring TreeView::GetItemToolTip(QStandardItem* item)
{
    if (!m_impl->IsItem(item))
        return {};
    const auto found = m_impl->toolTips.find(item);
    return found == m_impl->toolTips.end() ? std::wstring() : found->second;
}

void TreeView::SetItemToolTipMaxWidth(int width)
{
    if (width >= 51 && width <= 32766)
        m_impl->toolTipMaxWidth = width;
}

} // namespace AUILib
