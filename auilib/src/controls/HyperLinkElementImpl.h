#pragma once

#include "BaseImplQt.h"
#include "HyperLinkElementQt.h"
#include "RGBColor.h"

#include <QPointer>

#include <string>

namespace AUILib {

class HyperLinkElement;

// The link's settings, which its label reads back through the public class when it redraws.
class HyperLinkElementImpl : public BaseImplQt
{
public:
    explicit HyperLinkElementImpl(HyperLinkElement& owner);
    ~HyperLinkElementImpl() override;

    QWidget* GetWidget() override { return m_widget; }

    const std::wstring& Text() const { return m_text; }
    const std::wstring& URL() const { return m_url; }
    void SetURL(const std::wstring& url);
    void SetText(const std::wstring& text);
    // SetText for the label while it draws: the text it is drawing is this one already.
    void TakeText(const std::wstring& text);
    void SetbDefaultClickProcess(bool defaultProcess);
    void SetColors(RGBColor link, RGBColor visited, RGBColor hover);
    RGBColor GetLinkColor() const { return m_linkColor; }
    RGBColor GetVisitedColor() const { return m_visitedColor; }
    RGBColor GetHoverColor() const { return m_hoverColor; }
    void SetVisited(bool visited);
    bool GetVisited() const { return m_visited; }
    void SetUnderline(bool underline) { m_underline = underline; }
    bool GetUnderline() const { return m_underline; }

private:
    // The label redraws at its next paint.
    void MarkForRedraw();

    std::wstring m_text;
    std::wstring m_url;
    QPointer<HyperLinkElementQt> m_widget;
    RGBColor m_linkColor;
    RGBColor m_visitedColor;
    RGBColor m_hoverColor;
    bool m_visited = false;
    bool m_underline = true;
};

} // namespace AUILib
