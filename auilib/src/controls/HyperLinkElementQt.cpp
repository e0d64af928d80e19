#include "HyperLinkElementQt.h"

#include "HyperLinkElement.h"
#include "HyperLinkElementImpl.h"
#include "WideText.h"

#include <QDesktopServices>
#include <QEvent>
#include <QUrl>

namespace AUILib {

HyperLinkElementQt::HyperLinkElementQt(HyperLinkElement& owner)
    : m_owner(&owner)
{
}

void HyperLinkElementQt::Redraw(unsigned int color, bool underline)
{
    QString target = ToQString(m_owner->GetURL());
    if (target.isEmpty())
        target = QStringLiteral(" ");
    std::wstring text = m_owner->GetText();
    if (text.empty() && this->text() != m_drawn) {
        text = ToWString(this->text());
        std::static_pointer_cast<HyperLinkElementImpl>(m_owner->GetBaseImpl())->TakeText(text);
    }
    const QString name = QStringLiteral("#%1").arg(color, 8, 16, QLatin1Char(' '));
    if (underline) {
        m_drawn = QStringLiteral("<a href=\"%1\" style=\"color: %2;\">").arg(target, name) + ToQString(text)
            + QStringLiteral("</a>");
    } else {
        m_drawn = QStringLiteral("<font color = \"%1\">").arg(name) + ToQString(text) + QStringLiteral("< / font>");
    }
    setText(m_drawn);
}

void HyperLinkElementQt::RedrawResting()
{
    Redraw(m_owner->GetVisited() ? m_owner->GetVisitedColor() : m_owner->GetLinkColor(), m_owner->GetUnderline());
}

bool HyperLinkElementQt::event(QEvent* event)
{
    if (!m_owner)
        return QLabel::event(event);
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        m_owner->SetVisited(true);
        break;
    case QEvent::Enter:
        Redraw(m_owner->GetHoverColor(), true);
        m_hover = true;
        break;
    case QEvent::Leave:
        RedrawResting();
        m_hover = false;
        break;
    case QEvent::Paint:
        if (m_needsRedraw) {
            if (m_hover)
                Redraw(m_owner->GetHoverColor(), true);
            else
                RedrawResting();
            m_needsRedraw = false;
        }
        break;
    case QEvent::Show:
        Redraw(m_owner->GetLinkColor(), m_owner->GetUnderline());
        break;
    case QEvent::Shortcut:
        if (openExternalLinks())
            QDesktopServices::openUrl(QUrl(ToQString(m_owner->GetURL()), QUrl::TolerantMode));
        else
            FireHandlers(m_owner->OnLinkActivated);
        break;
    default:
        break;
    }
    return QLabel::event(event);
}

} // namespace AUILib
