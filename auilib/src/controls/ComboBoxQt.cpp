#include "ComboBoxQt.h"

#include "ComboBox.h"
#include "FontDataQt.h"
#include "WideText.h"

#include <QAbstractItemView>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPointer>
#include <QStandardItemModel>
#include <QStyleOptionComboBox>
#include <QStyleOptionFrame>

namespace AUILib {

ComboBoxQt::ComboBoxQt(ComboBox& owner)
    : m_owner(&owner)
{
    setContextMenuPolicy(Qt::CustomContextMenu);
    setInsertPolicy(QComboBox::NoInsert);
    connect(this, &QWidget::customContextMenuRequested, this, &ComboBoxQt::ShowContextMenu);
    connect(this, &ComboBoxQt::onPaste, this, [this](const std::wstring& text) {
        if (m_owner)
            FireHandlers(m_owner->OnPaste, text);
    });
    connect(this, &ComboBoxQt::onCurrentIndexSelected, this, [this](int index) {
        if (m_owner)
            FireHandlers(m_owner->OnCurrentIndexSelected, index);
    });
    // Made before the implementation's own connection, so the font follows before OnSelChanged fires.
    connect(this, QOverload<int>::of(&QComboBox::currentIndexChanged), this, &ComboBoxQt::FollowItemFont);
}

void ComboBoxQt::ReleaseOwner()
{
    m_owner = nullptr;
    m_editListMode = false;
    setContextMenuPolicy(Qt::DefaultContextMenu);
}

void ComboBoxQt::FollowItemFont(int index)
{
    if (!m_owner)
        return;
    const FontData font = m_owner->GetItemFont(index);
    if (GivesAnyField(font))
        m_owner->SetFont(font);
}

bool ComboBoxQt::IsDroppedDown() const
{
    // The popup is asked: Qt also closes it past hidePopup (its window closed by the system), and does
    // not open it for an empty list.
    return view()->window()->isVisible();
}

void ComboBoxQt::ShowContextMenu(const QPoint& pos)
{
    QLineEdit* edit = lineEdit();
    if (!edit || !m_owner)
        return;
    QPointer<QMenu> menu = edit->createStandardContextMenu();
    const QString pasteLabel = QCoreApplication::translate("QLineEdit", "&Paste");
    for (QAction* action : menu->actions()) {
        if (action->text().startsWith(pasteLabel)) {
            disconnect(action, SIGNAL(triggered()), nullptr, nullptr);
            connect(action, &QAction::triggered, this, &ComboBoxQt::MyPaste);
            break;
        }
    }
    menu->exec(mapToGlobal(pos));
    // A handler run from the menu may have taken the edit field, and the menu with it.
    delete menu.data();
}

void ComboBoxQt::MyPaste()
{
    QLineEdit* edit = lineEdit();
    if (!edit)
        return;
    if (!m_pasteDone)
        edit->paste();
    m_pasteDone = false;
    emit onPaste(ToWString(edit->text()));
}

bool ComboBoxQt::IsCurrentItemSelectable() const
{
    const auto* items = qobject_cast<const QStandardItemModel*>(model());
    if (!items || currentIndex() < 0)
        return false;
    const QStandardItem* item = items->itemFromIndex(items->index(currentIndex(), modelColumn(), rootModelIndex()));
    return item && item->flags().testFlag(Qt::ItemIsSelectable);
}

void ComboBoxQt::keyPressEvent(QKeyEvent* event)
{
    QComboBox::keyPressEvent(event);
    if (!m_owner)
        return;
    if (event->matches(QKeySequence::Paste) && lineEdit()) {
        // The edit field has pasted already.
        m_pasteDone = true;
        MyPaste();
        event->accept();
        return;
    }
    if (event->key() != Qt::Key_Up && event->key() != Qt::Key_Down)
        return;
    if (IsCurrentItemSelectable())
        emit onCurrentIndexSelected(currentIndex());
    else
        event->ignore();
}

void ComboBoxQt::paintEvent(QPaintEvent* event)
{
    if (!m_editListMode) {
        QComboBox::paintEvent(event);
        return;
    }
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::Text));
    QStyleOptionComboBox option;
    initStyleOption(&option);
    style()->drawComplexControl(QStyle::CC_ComboBox, &option, &painter, this);

    const QLineEdit frameSource;
    QStyleOptionFrame frame;
    frame.initFrom(&frameSource);
    frame.rect = QRect(QPoint(3, 0), QPoint(width() - 5, height() - 1));
    frame.lineWidth = style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
    frame.midLineWidth = 0;
    frame.features = QStyleOptionFrame::Rounded;
    frame.state |= QStyle::State_Sunken;
    style()->drawPrimitive(QStyle::PE_PanelLineEdit, &frame, &painter, this);

    if (currentIndex() < 0) {
        const QColor dimmed = option.palette.color(QPalette::ButtonText).lighter(150);
        option.palette.setBrush(QPalette::All, QPalette::ButtonText, QBrush(dimmed));
    }
    style()->drawControl(QStyle::CE_ComboBoxLabel, &option, &painter, this);
}

} // namespace AUILib
