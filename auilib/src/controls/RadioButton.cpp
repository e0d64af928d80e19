#include "RadioButton.h"

#include "AUILibConfig.h"
#include "RadioButtonImpl.h"
#include "WideText.h"

#include <QFileInfo>
#include <QIcon>
#include <QTemporaryFile>

namespace AUILib {

namespace {

// The icon engine reads an icon file by its contents, so the bytes go through a file of their own.
QPixmap IconPictureFromBytes(const unsigned char* data, int size, int iconSize)
{
    QTemporaryFile file;
    if (!file.open() || file.write(reinterpret_cast<const char*>(data), size) != size || !file.flush())
        return QPixmap();
    const QPixmap picture = AUILibUtils::SelectIcon(QIcon(file.fileName()), iconSize);
    file.close();
    return picture;
}

} // namespace

RadioButton::impl::impl(RadioButton& owner)
    : m_widget(new RadioButtonQt)
{
    TrackConnection(QObject::connect(m_widget, &QAbstractButton::toggled, [this](bool on) {
        if (on)
            m_switchedOn = true;
    }));
    TrackConnection(QObject::connect(m_widget, &QAbstractButton::clicked, [this, &owner]() {
        FireHandlers(owner.OnClicked);
        if (m_switchedOn)
            FireHandlers(owner.OnChecked);
        m_switchedOn = false;
    }));
}

RadioButton::impl::~impl()
{
    ReleaseWidget(m_widget);
}

void RadioButton::impl::SetText(const QString& text)
{
    struct ProgrammaticChange
    {
        explicit ProgrammaticChange(BaseImplQt& impl)
            : impl(impl)
        {
            impl.SetProgrammaticChange(true);
        }
        ~ProgrammaticChange() { impl.SetProgrammaticChange(false); }
        BaseImplQt& impl;
    } change(*this);
    m_widget->setText(text);
}

void RadioButton::impl::ShowPicture(const QPixmap& picture, ScalePicture mode)
{
    SetText(QString());
    const QPixmap scaled = AUILibUtils::ScaleBitmap(picture, mode, m_widget->size());
    if (scaled.isNull()) {
        m_widget->setIcon(QIcon());
    } else {
        m_widget->setIconSize(scaled.size());
        QIcon icon;
        icon.addPixmap(scaled, QIcon::Normal, QIcon::Off);
        m_widget->setIcon(icon);
    }
    m_widget->repaint();
}

RadioButton::RadioButton()
    : m_impl(std::make_shared<impl>(*this))
{
    SetControlType(ControlType::RadioButton);
}

RadioButton::~RadioButton() = default;

bool RadioButton::Create(QWidget* parent)
{
    SetParentWindow(parent);
    return m_impl->Create(parent);
}

std::shared_ptr<BaseImpl> RadioButton::GetBaseImpl() const
{
    return m_impl;
}

SkinManager* RadioButton::GetSkinManager()
{
    return GetGlobalSkinManager();
}

void RadioButton::SetCheck(bool on)
{
    RadioButtonQt* widget = m_impl->Widget();
    if (!widget)
        return;
    if (on) {
        widget->setChecked(true);
        return;
    }
    if (!widget->isChecked())
        return;
    // Qt keeps an auto-exclusive button on; it may be switched off only while that is lifted.
    const bool exclusive = widget->autoExclusive();
    widget->setAutoExclusive(false);
    widget->setChecked(false);
    widget->setAutoExclusive(exclusive);
}

bool RadioButton::Checked()
{
    RadioButtonQt* widget = m_impl->Widget();
    return widget && widget->isChecked();
}

void RadioButton::LoadPicture(const std::wstring& path, ScalePicture mode, int iconSize)
{
    if (!m_impl->Widget())
        return;
    const QString file = ToQString(path);
    const bool icon = QFileInfo(file).completeSuffix().toUpper() == QLatin1String("ICO");
    m_impl->ShowPicture(icon ? AUILibUtils::SelectIcon(QIcon(file), iconSize) : QPixmap(file), mode);
}

void RadioButton::LoadPicture(const unsigned char* data, int size, ImageTypes type, ScalePicture mode, int iconSize)
{
    if (!m_impl->Widget())
        return;
    // No bytes is a picture that cannot be read; Qt would take a negative size as a huge one.
    QPixmap picture;
    if (data && size > 0) {
        if (type == ImageTypes::ICO)
            picture = IconPictureFromBytes(data, size, iconSize);
        else
            picture.loadFromData(data, static_cast<uint>(size), AUILibUtils::ImageTypeToStr(type).c_str());
    }
    m_impl->ShowPicture(picture, mode);
}

void RadioButton::SetText(const std::wstring& text)
{
    if (m_impl->Widget())
        m_impl->SetText(ToQString(text));
}

std::wstring RadioButton::GetText() const
{
    RadioButtonQt* widget = m_impl->Widget();
    return widget ? ToWString(widget->text()) : std::wstring();
}

} // namespace AUILib
