#pragma once

#include "BaseImplQt.h"
#include "ComboBox.h"
#include "ComboBoxQt.h"
#include "ItemDataStore.h"
#include "OnlyNumbersData.h"

#include <QPointer>
#include <QSize>
#include <QStyledItemDelegate>

class QStandardItem;

namespace AUILib {

class ComboBox::impl : public BaseImplQt
{
public:
    // Paints header and separator rows and gives every row its font's height plus 4.
    class ItemDelegate : public QStyledItemDelegate
    {
    public:
        using QStyledItemDelegate::QStyledItemDelegate;
        void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
        QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    };

    explicit impl(ComboBox& owner);
    ~impl() override;

    QWidget* GetWidget() override { return widget; }
    // The model's item in the shown column; null outside the list or without the widget.
    QStandardItem* ModelItem(int row) const;
    // Scales the picture in the combo box's first scale mode and gives it to the item.
    void SetItemPicture(int row, const QPixmap& picture, ScalePicture scale);

    QPointer<ItemDelegate> delegate;
    OnlyNumbersData numbers;
    QPointer<ComboBoxQt> widget;
    ItemDataStore itemData;
    QSize iconSize{0, 0};
    ScalePicture scaleMode = ScalePicture(0);
    std::shared_ptr<PromptsPopup> balloon;
    std::wstring lastText;
    bool settingText = false;

private:
    void OnEditTextChanged(const QString& shown);

    ComboBox& m_owner;
};

} // namespace AUILib
