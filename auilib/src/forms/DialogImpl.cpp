#include "DialogImpl.h"

#include "WideText.h"

#include <QGuiApplication>
#include <QIcon>
#include <QImage>
#include <QPixmap>

namespace AUILib {

Dialog::impl::impl(Dialog* owner, unsigned long flags, QWidget* parent)
    : m_window(new DialogQt(owner, parent))
    , m_flags(static_cast<std::uint32_t>(flags))
    , m_owner(owner)
    , m_helper(std::make_unique<EventHelper>(owner))
{
}

Dialog::impl::~impl()
{
    DetachOwner();
    m_elements.clear();
    m_unnamedElements.clear();
    m_helper.reset();
    // A window nobody shows or holds would never be closed: it goes with the dialog. A shown or
    // embedded one lives on as a plain window until it is closed or its parent goes.
    if (m_window && !m_window->parent() && !m_window->isVisible())
        m_window->deleteLater();
}

void Dialog::impl::DetachOwner()
{
    QObject::disconnect(m_windowDestroyed);
    DisconnectApp();
    if (DialogQt* window = Window())
        window->SetOwner(nullptr);
    if (m_helper)
        m_helper->DetachDialog();
    m_owner = nullptr;
}

bool Dialog::impl::Close()
{
    if (m_closed)
        return true;
    m_closed = true;
    return m_window && m_window->close();
}

void Dialog::impl::SetBackgroundColor(int rgb)
{
    if (!m_window)
        return;
    QPalette palette = m_window->palette();
    palette.setBrush(QPalette::All, QPalette::Window, QBrush(QColor(static_cast<QRgb>(rgb))));
    m_window->setAutoFillBackground(true);
    m_window->setPalette(palette);
}

int Dialog::impl::GetBackgroundColor()
{
    if (!m_window)
        return 0;
    return static_cast<int>(m_window->palette().brush(QPalette::Current, QPalette::Window).color().rgb());
}

void Dialog::impl::SetCursorType(CursorTypes type)
{
    const auto platformCursor = [](int shape) {
        return QCursor(AUILibUtils::GetPlattformCursorType(static_cast<CursorTypes>(shape)));
    };
    switch (static_cast<int>(type)) {
    case 1:
        QGuiApplication::setOverrideCursor(m_customCursor.pixmap().isNull() ? platformCursor(1) : m_customCursor);
        break;
    case 0:
        if (m_window && m_window->cursor().shape() != Qt::ArrowCursor)
            QGuiApplication::setOverrideCursor(platformCursor(15));
        QGuiApplication::restoreOverrideCursor();
        break;
    default:
        QGuiApplication::setOverrideCursor(platformCursor(static_cast<int>(type)));
        break;
    }
}

void Dialog::impl::SetWindowsToStayOnTop()
{
    if (!m_window)
        return;
    m_window->setWindowFlags(m_window->windowFlags() | Qt::WindowStaysOnTopHint);
    DisconnectApp();
    m_applicationState = QObject::connect(qApp, &QGuiApplication::applicationStateChanged, this,
                                          &Dialog::impl::applicationStateChanged);
}

void Dialog::impl::applicationStateChanged(Qt::ApplicationState state)
{
    if (!m_window || !m_window->isVisible())
        return;
    if (!(m_window->windowFlags() & Qt::WindowStaysOnTopHint) && !m_stayOnTop)
        return;
    m_stayOnTop = true;
    m_window->setWindowFlag(Qt::WindowStaysOnTopHint, state == Qt::ApplicationActive);
    Show(true, true);
}

void Dialog::impl::DisconnectApp()
{
    QObject::disconnect(m_applicationState);
}

bool Dialog::impl::LoadCustomCursor(const std::wstring& path, int hotX, int hotY)
{
    const QPixmap pixmap(ToQString(path));
    if (pixmap.isNull())
        return false;
    m_customCursor = QCursor(pixmap, hotX, hotY);
    return true;
}

bool Dialog::impl::LoadCustomCursor(const unsigned char* data, int length, int hotX, int hotY, ImageTypes type)
{
    if (type != ImageTypes::PNG || length <= 0 || !data)
        return false;
    const QPixmap pixmap = QPixmap::fromImage(QImage::fromData(data, length, "PNG"));
    if (pixmap.isNull())
        return false;
    m_customCursor = QCursor(pixmap, hotX, hotY);
    return true;
}

void Dialog::impl::SetIcon(const std::wstring& path)
{
    if (m_window)
        m_window->setWindowIcon(QIcon(ToQString(path)));
}

void Dialog::impl::SetIcon(const unsigned char* data, int length, ImageTypes type)
{
    if (!m_window)
        return;
    QPixmap pixmap;
    // A buffer that holds nothing is an image that does not decode.
    if (data && length > 0)
        pixmap.loadFromData(data, static_cast<uint>(length), AUILibUtils::ImageTypeToStr(type).c_str());
    QIcon icon;
    icon.addPixmap(pixmap, QIcon::Normal, QIcon::Off);
    m_window->setWindowIcon(icon);
}

} // namespace AUILib
