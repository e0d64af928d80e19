#include "HyperLinkElementImpl.h"

#include "HyperLinkElement.h"

#include <QColor>

namespace AUILib {

namespace {

const RGBColor kDefaultColor = QColor(33, 137, 247, 255).rgb();
const SizePolicy kPreferredBothWays{0x550000};

} // namespace

HyperLinkElementImpl::HyperLinkElementImpl(HyperLinkElement& owner)
    : m_widget(new HyperLinkElementQt(owner))
    , m_linkColor(kDefaultColor)
    , m_visitedColor(kDefaultColor)
    , m_hoverColor(kDefaultColor)
{
    SetSizePolicy(kPreferredBothWays);
    m_widget->setTextFormat(Qt::RichText);
    m_widget->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::LinksAccessibleByMouse
                                      | Qt::LinksAccessibleByKeyboard);
    SetTrackMouseEvent();
    TrackConnection(QObject::connect(m_widget, &QLabel::linkActivated,
                                     [&owner](const QString&) { FireHandlers(owner.OnLinkActivated); }));
}

HyperLinkElementImpl::~HyperLinkElementImpl()
{
    if (m_widget)
        m_widget->ReleaseOwner();
    ReleaseWidget(m_widget);
}

void HyperLinkElementImpl::MarkForRedraw()
{
    if (!m_widget)
        return;
    m_widget->SetNeedsRedraw();
    m_widget->repaint();
}

void HyperLinkElementImpl::SetURL(const std::wstring& url)
{
    m_url = url;
    MarkForRedraw();
}

void HyperLinkElementImpl::SetText(const std::wstring& text)
{
    TakeText(text);
    MarkForRedraw();
}

void HyperLinkElementImpl::TakeText(const std::wstring& text)
{
    m_text = text;
    // A mnemonic in the text then reaches the label as a shortcut.
    if (m_widget)
        m_widget->setBuddy(m_widget);
}

void HyperLinkElementImpl::SetbDefaultClickProcess(bool defaultProcess)
{
    if (m_widget)
        m_widget->setOpenExternalLinks(!defaultProcess);
    MarkForRedraw();
}

void HyperLinkElementImpl::SetColors(RGBColor link, RGBColor visited, RGBColor hover)
{
    m_linkColor = link;
    m_visitedColor = visited;
    m_hoverColor = hover;
    MarkForRedraw();
}

void HyperLinkElementImpl::SetVisited(bool visited)
{
    m_visited = visited;
    MarkForRedraw();
}

} // namespace AUILib
