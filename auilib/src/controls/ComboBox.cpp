#include "ComboBox.h"

#include "AUILibConfig.h"
#include "ComboBoxImpl.h"
#include "FontDataQt.h"
#include "WideText.h"

#include <QCompleter>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QStandardItemModel>
#include <QTemporaryFile>

#include <algorithm>

namespace AUILib {

namespace {

QString ColorName(unsigned int rgb)
{
    return QColor(static_cast<QRgb>(rgb)).name(QColor::HexArgb);
}

// Raises the set-text flags for a scope, and lowers them however it ends.
class SettingTextScope
{
public:
    explicit SettingTextScope(ComboBox::impl& impl)
        : m_impl(impl)
    {
        m_impl.settingText = true;
        m_impl.SetProgrammaticChange(true);
    }
    ~SettingTextScope()
    {
        m_impl.settingText = false;
        m_impl.SetProgrammaticChange(false);
    }
    SettingTextScope(const SettingTextScope&) = delete;
    SettingTextScope& operator=(const SettingTextScope&) = delete;

private:
    ComboBox::impl& m_impl;
};

// An icon file's bytes go through a file, the only way QIcon reads all the sizes an icon holds.
QPixmap IconFromBytes(const unsigned char* bytes, int length, int height)
{
    QTemporaryFile file(QDir::tempPath() + QStringLiteral("/auilib-XXXXXX.ico"));
    if (!file.open() || file.write(reinterpret_cast<const char*>(bytes), length) != length)
        return {};
    file.flush();
    const QPixmap pixmap = AUILibUtils::SelectIcon(QIcon(file.fileName()), height);
    file.close();
    return pixmap;
}

} // namespace

ComboBox::ComboBox()
    : m_impl(std::make_shared<impl>(*this))
{
    SetControlType(ControlType::ComboBox);
}

ComboBox::~ComboBox()
{
    m_impl.reset();
}

bool ComboBox::Create(QWidget* parent)
{
    SetParentWindow(parent);
    return m_impl->Create(parent);
}

Size ComboBox::IdealSize()
{
    return m_impl->IdealSize();
}

std::shared_ptr<BaseImpl> ComboBox::GetBaseImpl() const
{
    return m_impl;
}

SkinManager* ComboBox::GetSkinManager()
{
    return GetGlobalSkinManager();
}

int ComboBox::AddItem(const std::wstring& text, any data)
{
    return InsertItem(Count(), text, std::move(data));
}

int ComboBox::AddSeparator(const std::wstring& text, any data)
{
    return InsertSeparator(Count(), text, std::move(data));
}

int ComboBox::InsertItem(int index, const std::wstring& text, any data)
{
    ComboBoxQt* widget = m_impl->widget;
    if (!widget)
        return -1;
    index = std::clamp(index, 0, widget->count());
    const QVariant id = data.empty() ? QVariant() : QVariant(m_impl->itemData.Add(data, 0));
    widget->insertItem(index, QIcon(), ToQString(text), id);
    return index;
}

int ComboBox::InsertSeparator(int index, const std::wstring& text, any data)
{
    ComboBoxQt* widget = m_impl->widget;
    if (!widget)
        return index;
    if (text.empty()) {
        widget->insertSeparator(index);
        return index;
    }
    const int row = InsertItem(index, text, std::move(data));
    if (QStandardItem* item = m_impl->ModelItem(row)) {
        item->setData(QStringLiteral("header"), Qt::AccessibleDescriptionRole);
        item->setFlags(item->flags() & ~(Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsEditable));
        QFont font;
        font.setFamily(QStringLiteral("Arial"));
        item->setData(font, Qt::FontRole);
    }
    return index;
}

void ComboBox::AddPicture(int index, const std::wstring& path, ScalePicture scale, Size size, BitmapType)
{
    if (!m_impl->widget)
        return;
    const QString file = ToQString(path);
    QPixmap pixmap;
    if (QFileInfo(file).completeSuffix().toUpper() == QLatin1String("ICO"))
        pixmap = AUILibUtils::SelectIcon(QIcon(file), size.height);
    else
        pixmap.load(file);
    m_impl->SetItemPicture(index, pixmap, scale);
}

void ComboBox::AddPicture(int index, const unsigned char* bytes, int length, ImageTypes type, ScalePicture scale,
                          Size size, BitmapType)
{
    ComboBoxQt* widget = m_impl->widget;
    if (!widget)
        return;
    if (!bytes) {
        widget->setItemIcon(index, QIcon());
        return;
    }
    // No bytes to read is a failed load, not a length to trust.
    if (length <= 0)
        return;
    QPixmap pixmap;
    if (type == ImageTypes::ICO) {
        pixmap = IconFromBytes(bytes, length,
                               size.height >= 1 ? size.height : std::min(widget->height(), widget->width()));
    } else {
        pixmap.loadFromData(bytes, static_cast<uint>(length), AUILibUtils::ImageTypeToStr(type).c_str());
    }
    m_impl->SetItemPicture(index, pixmap, scale);
}

void ComboBox::SetCurSel(int index)
{
    if (ComboBoxQt* widget = m_impl->widget)
        widget->setCurrentIndex(index);
}

int ComboBox::GetCurSel()
{
    const ComboBoxQt* widget = m_impl->widget;
    return widget ? widget->currentIndex() : -1;
}

std::wstring ComboBox::GetItemText(int index)
{
    const ComboBoxQt* widget = m_impl->widget;
    return widget ? ToWString(widget->itemText(index)) : std::wstring();
}

std::wstring ComboBox::CurrentText()
{
    const ComboBoxQt* widget = m_impl->widget;
    return widget ? ToWString(widget->currentText()) : std::wstring();
}

void ComboBox::SetCurrentText(const std::wstring& text)
{
    ComboBoxQt* widget = m_impl->widget;
    if (!widget)
        return;
    const SettingTextScope scope(*m_impl);
    widget->setCurrentText(ToQString(text));
}

void ComboBox::Clear()
{
    ComboBoxQt* widget = m_impl->widget;
    if (!widget)
        return;
    m_impl->itemData.Clear();
    widget->clear();
}

int ComboBox::Count()
{
    const ComboBoxQt* widget = m_impl->widget;
    return widget ? widget->count() : -1;
}

any ComboBox::GetItemData(int index)
{
    const ComboBoxQt* widget = m_impl->widget;
    return widget ? m_impl->itemData.Get(widget->itemData(index).toInt(), 0) : any();
}

bool ComboBox::SetItemData(int index, any data)
{
    ComboBoxQt* widget = m_impl->widget;
    if (!widget || index < 0 || index >= widget->count())
        return false;
    RemoveItemData(index);
    widget->setItemData(index, m_impl->itemData.Add(data, 0));
    return true;
}

bool ComboBox::RemoveItemData(int index)
{
    ComboBoxQt* widget = m_impl->widget;
    if (!widget)
        return false;
    const int id = widget->itemData(index).toInt();
    widget->setItemData(index, -1);
    const auto record = m_impl->itemData.Find(id);
    if (record == m_impl->itemData.End())
        return false;
    m_impl->itemData.Erase(record);
    return true;
}

void ComboBox::OnlyNumbers(bool on, int min, int max)
{
    OnlyNumbersData& numbers = m_impl->numbers;
    numbers.enabled = on ? 1 : 0;
    numbers.integersOnly = true;
    numbers.allowNegative = min < 0;
    numbers.minInt = min;
    numbers.maxInt = max;
    numbers.invalidPrompt.reset();
    numbers.rangePrompt.reset();
}

void ComboBox::SetMaxVisibleItems(int count)
{
    if (ComboBoxQt* widget = m_impl->widget)
        widget->setMaxVisibleItems(count);
}

int ComboBox::GetMaxVisibleItems()
{
    const ComboBoxQt* widget = m_impl->widget;
    return widget ? widget->maxVisibleItems() : -1;
}

int ComboBox::FindString(const std::wstring& text, int start)
{
    const ComboBoxQt* widget = m_impl->widget;
    if (!widget || start < -1 || start + 1 >= widget->count())
        return -1;
    const QAbstractItemModel* items = widget->model();
    const QModelIndexList hits = items->match(items->index(start + 1, widget->modelColumn(), widget->rootModelIndex()),
                                              Qt::DisplayRole, ToQString(text), 1, Qt::MatchStartsWith | Qt::MatchWrap);
    return hits.isEmpty() ? -1 : hits.first().row();
}

void ComboBox::AdjustItemWidth()
{
    if (ComboBoxQt* widget = m_impl->widget)
        widget->setSizeAdjustPolicy(QComboBox::AdjustToContents);
}

void ComboBox::SetAutoComplete(bool on)
{
    ComboBoxQt* widget = m_impl->widget;
    // Qt keeps a completer only on an edit field.
    if (!widget || !widget->lineEdit())
        return;
    if (!on) {
        widget->setCompleter(nullptr);
        return;
    }
    auto* completer = new QCompleter(widget->model(), widget);
    completer->setCaseSensitivity(Qt::CaseInsensitive);
    completer->setCompletionMode(QCompleter::InlineCompletion);
    widget->setCompleter(completer);
}

bool ComboBox::IsAutoComplete()
{
    const ComboBoxQt* widget = m_impl->widget;
    return widget && widget->completer();
}

void ComboBox::SetEditSel(int start, int length)
{
    if (QLineEdit* edit = m_impl->widget ? m_impl->widget->lineEdit() : nullptr)
        edit->setSelection(start, length);
}

int ComboBox::SelectionLength() const
{
    const QLineEdit* edit = m_impl->widget ? m_impl->widget->lineEdit() : nullptr;
    return edit ? edit->selectedText().size() : -1;
}

int ComboBox::SelectionStart() const
{
    const QLineEdit* edit = m_impl->widget ? m_impl->widget->lineEdit() : nullptr;
    return edit ? edit->selectionStart() : -1;
}

void ComboBox::SetCaretPosition(int position)
{
    QLineEdit* edit = m_impl->widget ? m_impl->widget->lineEdit() : nullptr;
    if (!edit)
        return;
    edit->setCursorPosition(position);
    m_impl->widget->setFocus(Qt::OtherFocusReason);
}

int ComboBox::GetCaretPosition()
{
    const QLineEdit* edit = m_impl->widget ? m_impl->widget->lineEdit() : nullptr;
    return edit ? edit->cursorPosition() : -1;
}

void ComboBox::ShowDropDown(bool show) const
{
    ComboBoxQt* widget = m_impl->widget;
    if (!widget || widget->IsDroppedDown() == show)
        return;
    if (show)
        widget->showPopup();
    else
        widget->hidePopup();
}

void ComboBox::SetTextColor(unsigned int rgb)
{
    ComboBoxQt* widget = m_impl->widget;
    if (!widget)
        return;
    const QString name = ColorName(rgb);
    widget->setStyleSheet(
        widget->styleSheet()
        + QStringLiteral("QComboBox QAbstractItemView { color: %1; } QComboBox { color: %1; }").arg(name));
}

void ComboBox::SetSelectedItemTextColor(unsigned int rgb)
{
    ComboBoxQt* widget = m_impl->widget;
    if (!widget)
        return;
    widget->setStyleSheet(widget->styleSheet()
                          + QStringLiteral("QComboBox QAbstractItemView { selection-color: %1; }").arg(ColorName(rgb)));
}

void ComboBox::SetFont(FontData font)
{
    if (ComboBoxQt* widget = m_impl->widget)
        widget->setFont(Overlaid(QFont(), font));
}

void ComboBox::DisableItem(int index, bool disable)
{
    QStandardItem* item = m_impl->ModelItem(index);
    if (!item)
        return;
    item->setEnabled(!disable);
    if (disable && m_impl->widget->currentIndex() == index)
        m_impl->widget->setCurrentIndex(-1);
}

bool ComboBox::IsItemDisabled(int index)
{
    const QStandardItem* item = m_impl->ModelItem(index);
    return item && !item->flags().testFlag(Qt::ItemIsEnabled);
}

void ComboBox::DeleteString(int index)
{
    if (!m_impl->widget)
        return;
    RemoveItemData(index);
    m_impl->widget->removeItem(index);
}

void ComboBox::SetItemFont(int index, FontData& font)
{
    ComboBoxQt* widget = m_impl->widget;
    if (!widget || index < 0 || index >= widget->count() || !GivesAnyField(font))
        return;
    const FontData current = GetItemFont(index);
    auto pick = [](int given, int present) { return given < 0 ? present : given; };
    QFont qtFont;
    qtFont.setWeight(pick(font.bold, current.bold) >= 1 ? 75 : 50);
    qtFont.setItalic(pick(font.italic, current.italic) >= 1);
    qtFont.setUnderline(pick(font.underline, current.underline) >= 1);
    const double size = font.pointSize > 0 ? font.pointSize : current.pointSize;
    if (size > 0)
        qtFont.setPointSizeF(size);
    const std::wstring& family = font.faceName.empty() ? current.faceName : font.faceName;
    if (!family.empty())
        qtFont.setFamily(ToQString(family));
    widget->setItemData(index, qtFont, Qt::FontRole);
}

FontData ComboBox::GetItemFont(int index)
{
    FontData record;
    record.pointSize = -1.0;
    const ComboBoxQt* widget = m_impl->widget;
    const QVariant stored = widget ? widget->itemData(index, Qt::FontRole) : QVariant();
    if (!stored.isValid())
        return record;
    const QFont font = stored.value<QFont>();
    record.faceName = ToWString(font.family());
    record.pointSize = font.pointSizeF() > 0 ? font.pointSizeF() : -1.0;
    record.italic = font.style() != QFont::StyleNormal ? 1 : -1;
    record.bold = font.weight() >= 58 ? 1 : -1;
    record.underline = font.underline() ? 1 : -1;
    return record;
}

void ComboBox::SetEditable(bool editable)
{
    ComboBoxQt* widget = m_impl->widget;
    if (!widget)
        return;
    if (editable) {
        widget->setEditable(true);
        m_impl->lastText = CurrentText();
    } else {
        if (m_impl->balloon)
            m_impl->balloon->Show(false, -1, -1);
        widget->SetEditListMode(false);
        widget->repaint();
    }
    // Qt's own completer goes too; SetAutoComplete brings one back.
    if (widget->lineEdit())
        widget->setCompleter(nullptr);
    if (!editable)
        widget->setEditable(false);
}

void ComboBox::EnableEditListMode(bool on)
{
    ComboBoxQt* widget = m_impl->widget;
    if (!widget || !widget->lineEdit())
        return;
    widget->SetEditListMode(on);
    widget->repaint();
}

bool ComboBox::GetDroppedState() const
{
    const ComboBoxQt* widget = m_impl->widget;
    return widget && widget->IsDroppedDown();
}

bool ComboBox::ShowBalloonTip(const std::wstring& title, const std::wstring& text, BalloonTipIconType icon)
{
    QLineEdit* edit = m_impl->widget ? m_impl->widget->lineEdit() : nullptr;
    if (!edit)
        return false;
    if (!m_impl->balloon)
        m_impl->balloon = std::make_shared<PromptsPopup>();
    m_impl->balloon->Create(edit, text, 0, 3000, true);
    m_impl->balloon->SetTitle(title);
    m_impl->balloon->SetTitleIcon(icon);
    m_impl->balloon->Show(true, -1, -1);
    return true;
}

bool ComboBox::HideBalloonTip()
{
    const bool editable = m_impl->widget && m_impl->widget->lineEdit();
    if (!editable || !m_impl->balloon)
        return false;
    m_impl->balloon->Show(false, -1, -1);
    return true;
}

void ComboBox::SetAddToListOnEnterKey(bool on)
{
    ComboBoxQt* widget = m_impl->widget;
    if (widget)
        widget->setInsertPolicy(widget->isEditable() && on ? QComboBox::InsertAtBottom : QComboBox::NoInsert);
}

QWidget* ComboBox::GetWndPtr()
{
    return m_impl->GetWidget();
}

} // namespace AUILib
