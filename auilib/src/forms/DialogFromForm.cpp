#include "AUILibConfig.h"
#include "BaseImpl.h"
#include "ButtonBoxImpl.h"
#include "DialogImpl.h"
#include "Encrypter.h"
#include "WideText.h"
#include "ZrQUiLoader.h"

#include <QBuffer>
#include <QFrame>
#include <QGuiApplication>
#include <QXmlStreamReader>

namespace AUILib {

namespace {

constexpr std::uint32_t kKeepFlags = 0x80;

// Window flags as forms give them: unless bit 0x80 asks to keep them, no maximize button, a fixed
// size and customised decorations; no title means no frame.
std::uint32_t AdjustedFlags(std::uint32_t flags)
{
    if (flags & kKeepFlags)
        flags &= ~kKeepFlags;
    else
        flags = (flags & 0xFDFF7E7Fu) | 0x02000100u;
    if (!(flags & Qt::WindowTitleHint))
        flags |= Qt::FramelessWindowHint;
    return flags;
}

void ApplyLineOrientation(QFrame* frame, const QByteArray& form)
{
    const QString orientation =
        AUILibUtils::NormalizeQtEnum(GetControlEnumProp(form, frame->objectName(), QStringLiteral("orientation")));
    if (orientation == QLatin1String("Qt::Vertical"))
        frame->setFrameShape(QFrame::VLine);
    else if (orientation == QLatin1String("Qt::Horizontal"))
        frame->setFrameShape(QFrame::HLine);
}

} // namespace

bool Dialog::impl::CreateFromUI(const std::wstring& uiPath, QWidget* parent)
{
    return CreateFromUI(Encrypter::ReadAndDecryptFile(uiPath), 0, parent);
}

bool Dialog::impl::CreateFromUI(const std::wstring& form, unsigned long, QWidget* parent)
{
    if (form.empty())
        return false;
    QByteArray bytes = ToQString(form).toUtf8();
    QBuffer buffer(&bytes);
    ZrQUiLoader loader(this);
    QWidget* root = loader.load(&buffer, parent);
    if (!root || root != m_window) {
        // Nothing of a form that is not a dialog may stay behind in the parent or in memory.
        delete root;
        delete m_window.data();
        return false;
    }
    if (m_owner) {
        Dialog* owner = m_owner;
        m_windowDestroyed =
            QObject::connect(m_window, &QObject::destroyed, [owner] { FireHandlers(owner->OnDestroyed, owner); });
        owner->SetUserData(reinterpret_cast<std::uint64_t>(m_window.data()));
    }
    if (GetLayoutRTL())
        QGuiApplication::setLayoutDirection(Qt::RightToLeft);
    ApplyWindowFlags();
    m_window->setAttribute(Qt::WA_DeleteOnClose);
    m_window->installEventFilter(m_helper.get());
    PrepareWidgets(bytes);
    m_closed = false;
    return true;
}

void Dialog::impl::ApplyWindowFlags()
{
    m_flags = AdjustedFlags(m_flags);
    m_window->setWindowFlags(Qt::WindowFlags(static_cast<int>(m_flags)));
}

void Dialog::impl::PrepareWidgets(const QByteArray& form)
{
    for (QWidget* widget : m_window->findChildren<QWidget*>(QString(), Qt::FindChildrenRecursively)) {
        const std::shared_ptr<BaseGUIObject> control = PrepareWidget(widget);
        if (!control)
            continue;
        auto* frame = qobject_cast<QFrame*>(widget);
        if (control->GetControlType() == ControlType::Line && frame)
            ApplyLineOrientation(frame, form);
        if (control->GetControlType() == ControlType::ButtonBox && qobject_cast<QDialogButtonBox*>(widget))
            std::static_pointer_cast<ButtonBox::impl>(control->GetBaseImpl())->ConvertStandardButtons();
    }
}

std::shared_ptr<BaseGUIObject> Dialog::impl::PrepareWidget(QWidget* widget)
{
    widget->setAttribute(Qt::WA_MouseTracking);
    widget->installEventFilter(m_helper.get());
    const std::shared_ptr<BaseGUIObject> control = ElementOfWidget(widget);
    if (control)
        QObject::connect(widget, &QObject::destroyed, [control] { FireHandlers(control->OnDestroyed, control.get()); });
    return control;
}

void Dialog::impl::RegisterElement(const std::wstring& name, const std::shared_ptr<BaseGUIObject>& control)
{
    if (!m_elements.emplace(name, control).second)
        m_unnamedElements.push_back(control);
}

std::shared_ptr<BaseGUIObject> Dialog::impl::GetElementByName(const std::wstring& name) const
{
    const auto found = m_elements.find(name);
    return found == m_elements.end() ? nullptr : found->second;
}

std::shared_ptr<BaseGUIObject> Dialog::impl::ElementOfWidget(const QWidget* widget) const
{
    const std::shared_ptr<BaseGUIObject> named = GetElementByName(ToWString(widget->objectName()));
    if (named && named->GetBaseImpl()->GetWidget() == widget)
        return named;
    for (const std::shared_ptr<BaseGUIObject>& control : m_unnamedElements) {
        if (control->GetBaseImpl()->GetWidget() == widget)
            return control;
    }
    return nullptr;
}

DialogQt* Dialog::impl::TakeWindowForRoot()
{
    if (m_rootTaken)
        return nullptr;
    m_rootTaken = true;
    return Window();
}

QString GetControlEnumProp(QByteArray form, QString objectName, QString property)
{
    QXmlStreamReader reader(form);
    while (!reader.atEnd() && !reader.hasError()) {
        if (reader.readNext() != QXmlStreamReader::StartElement || reader.name() != QLatin1String("widget"))
            continue;
        const QXmlStreamAttributes attributes = reader.attributes();
        if (!attributes.hasAttribute(QStringLiteral("class")) || attributes.value(QStringLiteral("name")) != objectName)
            continue;
        while (reader.readNextStartElement()) {
            if (reader.name() != QLatin1String("property")
                || reader.attributes().value(QStringLiteral("name")) != property) {
                reader.skipCurrentElement();
                continue;
            }
            if (reader.readNextStartElement() && reader.name() == QLatin1String("enum"))
                return reader.readElementText();
            break;
        }
    }
    return QString();
}

} // namespace AUILib
