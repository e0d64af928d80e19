#include "ButtonImpl.h"

#include "ButtonQt.h"
#include "ButtonSheets.h"
#include "ContextMenu.h"
#include "FontDataQt.h"
#include "WideText.h"

#include <QFileInfo>
#include <QFontInfo>
#include <QLabel>
#include <QTemporaryFile>
#include <QVBoxLayout>

namespace AUILib {

namespace {

// Raises the implementation's programmatic-change flag for one change, also when it throws.
class ProgrammaticChange
{
public:
    explicit ProgrammaticChange(BaseImplQt& impl)
        : m_impl(impl)
    {
        m_impl.SetProgrammaticChange(true);
    }
    ~ProgrammaticChange() { m_impl.SetProgrammaticChange(false); }
    ProgrammaticChange(const ProgrammaticChange&) = delete;
    ProgrammaticChange& operator=(const ProgrammaticChange&) = delete;

private:
    BaseImplQt& m_impl;
};

const QString kExpanderPrefix = QStringLiteral("+ ");

} // namespace

bool Button::impl::ShowsPictureAboveText(ButtonStyle style)
{
    return style == PictureAboveText || style == RoundedPictureAboveText;
}

Button::impl::impl(Button* owner, QPushButton* button, bool ownsWidget)
    : m_owner(owner)
    , m_ownsWidget(ownsWidget)
    , m_widget(button)
{
    TrackConnection(QObject::connect(button, &QAbstractButton::clicked, button, [this] { OnClick(); }));
    m_textColor = button->palette().brush(QPalette::Current, QPalette::WindowText).color();
    m_disabledTextColor = button->palette().brush(QPalette::Disabled, QPalette::WindowText).color();
}

Button::impl::~impl()
{
    DetachOwner();
    ReleaseWidget(m_ownsWidget ? m_widget.data() : nullptr);
}

void Button::impl::DetachOwner()
{
    m_owner = nullptr;
    if (auto* widget = qobject_cast<ButtonQt*>(m_widget.data()))
        widget->SetOwner(nullptr);
}

void Button::impl::OnClick()
{
    if (!m_owner)
        return;
    // Held through the click: a menu callback may release the button.
    const std::shared_ptr<BaseImpl> self = m_owner->GetBaseImpl();
    if (m_menu) {
        const std::shared_ptr<ContextMenu> menu = m_menu;
        const Rect area = m_owner->GetWindowRect();
        menu->Show(area.left, area.bottom);
        if (!m_owner)
            return;
    }
    FireHandlers(m_owner->OnClicked);
}

void Button::impl::SetButtonText(const QString& text)
{
    const ProgrammaticChange change(*this);
    m_widget->setText(text);
}

void Button::impl::SetText(const std::wstring& text)
{
    if (!m_widget)
        return;
    const bool hasIcon = !m_widget->icon().isNull();
    if (ShowsPictureAboveText(m_style) && (hasIcon || m_layout)) {
        if (hasIcon && m_layout) {
            m_pictureLabel->setPixmap(m_picture);
            m_widget->setIcon(QIcon());
        } else if (hasIcon) {
            BuildLayout();
        }
        m_textLabel->setText(ToQString(text));
    } else if (m_style == PictureOnly) {
        ApplyStyleSheet(QString::fromUtf8(ButtonSheets::A));
    } else {
        SetButtonText(m_style == Expander ? kExpanderPrefix + ToQString(text) : ToQString(text));
    }
}

std::wstring Button::impl::GetText() const
{
    if (m_layout && m_textLabel)
        return ToWString(m_textLabel->text());
    if (!m_widget)
        return {};
    const QString text = m_widget->text();
    return ToWString(m_style == Expander && text.size() >= 2 ? text.mid(2) : text);
}

void Button::impl::BuildLayout()
{
    m_layout = new QVBoxLayout(m_widget);
    m_pictureLabel = new QLabel(m_widget);
    m_pictureLabel->setAlignment(Qt::AlignCenter);
    m_layout->addWidget(m_pictureLabel);
    m_textLabel = new QLabel(m_widget);
    m_textLabel->setStyleSheet(QString::fromUtf8(ButtonSheets::H));
    m_textLabel->setAlignment(Qt::AlignCenter);
    m_layout->addWidget(m_textLabel);
    m_textLabel->setBuddy(m_widget);
    m_layout->setSizeConstraint(QLayout::SetFixedSize);
}

void Button::impl::SetChecked(bool checked)
{
    if (!m_widget)
        return;
    if (!m_widget->isCheckable())
        m_widget->setCheckable(true);
    m_widget->setChecked(checked);
}

bool Button::impl::GetCheck() const
{
    return m_widget && m_widget->isChecked();
}

void Button::impl::LoadPicture(const std::wstring& path, ScalePicture scale, int size, bool disabled)
{
    if (!m_widget)
        return;
    const QString file = ToQString(path);
    QPixmap pixmap;
    if (QFileInfo(file).completeSuffix().toUpper() == QLatin1String("ICO"))
        pixmap = AUILibUtils::SelectIcon(QIcon(file), size);
    else
        pixmap.load(file);
    m_widget->setFlat(true);
    SetPicture(pixmap, scale, disabled);
}

void Button::impl::LoadPicture(const unsigned char* data, int length, ImageTypes type, ScalePicture scale, int size,
                               bool disabled)
{
    if (!m_widget)
        return;
    QPixmap pixmap;
    // A buffer that holds nothing is a picture that failed to load.
    if (data && length > 0) {
        if (type != ImageTypes::ICO) {
            pixmap.loadFromData(data, static_cast<uint>(length), AUILibUtils::ImageTypeToStr(type).c_str());
        } else {
            QTemporaryFile file;
            if (file.open() && file.write(reinterpret_cast<const char*>(data), length) == length && file.flush())
                pixmap = AUILibUtils::SelectIcon(QIcon(file.fileName()), size);
        }
    }
    m_widget->setFlat(true);
    SetPicture(pixmap, scale, disabled);
}

void Button::impl::SetPicture(const QPixmap& pixmap, ScalePicture scale, bool disabled)
{
    const int width = m_widget->width();
    const int height = m_widget->height();
    QPixmap& target = disabled ? m_disabledPicture : m_picture;
    target = AUILibUtils::ScaleBitmap(pixmap, scale, QSize(width - 13, height - 13));
    const QString text = m_widget->text();
    if (ShowsPictureAboveText(m_style) && (!text.isEmpty() || m_layout)) {
        if (!text.isEmpty() && m_layout) {
            m_textLabel->setText(text);
            SetButtonText(QString());
        } else if (!text.isEmpty()) {
            BuildLayout();
        }
        m_pictureLabel->setPixmap(target);
        RepaintWidget();
        return;
    }
    if (target.width() <= width && target.height() <= height) {
        m_widget->setIconSize(target.size());
    } else {
        const double factor = AUILibUtils::GetScaleFactor();
        m_widget->setIconSize(QSize(qRound(target.width() / factor), qRound(target.height() / factor)));
    }
    if (target.isNull()) {
        m_icon = QIcon();
        m_icon.addPixmap(m_picture, QIcon::Normal, QIcon::Off);
    } else {
        m_icon.addPixmap(target, disabled ? QIcon::Disabled : QIcon::Normal, QIcon::Off);
    }
    m_widget->setIcon(m_icon);
    RepaintWidget();
}

void Button::impl::InsertMenuBar(std::shared_ptr<ContextMenu> menu, bool arrow)
{
    m_menu = std::move(menu);
    m_menuArrow = arrow;
}

void Button::impl::RemoveMenuBar()
{
    m_menu.reset();
    m_menuArrow = false;
}

void Button::impl::SetFont(const FontData& data)
{
    if (!m_widget)
        return;
    m_widget->setFont(Overlaid(m_widget->font(), data));
    RepaintWidget();
}

FontData Button::impl::GetFont() const
{
    FontData data;
    if (!m_widget)
        return data;
    const QFont font = m_widget->font();
    data.faceName = ToWString(QFontInfo(font).family());
    data.pointSize = font.pointSizeF();
    data.bold = font.weight() >= 51 ? 1 : 0;
    data.italic = font.italic() ? 1 : 0;
    data.underline = font.underline() ? 1 : 0;
    return data;
}

void Button::impl::RepaintWidget()
{
    if (m_widget)
        m_widget->repaint();
}

} // namespace AUILib
