#pragma once

#include "BaseGUIObject.h"
#include "RGBColor.h"

#include <memory>
#include <string>

namespace AUILib {

class HyperLinkElementImpl;

// A clickable link: a text standing for a URL in a link, visited and hover colour. A click either
// reports to OnLinkActivated (the default) or opens the URL.
class HyperLinkElement : public BaseGUIObject
{
public:
    HyperLinkElement();
    ~HyperLinkElement() override;

    // Puts the widget under `parent` without recording it as the parent window.
    bool Create(QWidget* parent) override;
    Size IdealSize() override;
    std::shared_ptr<BaseImpl> GetBaseImpl() const override;
    SkinManager* GetSkinManager() override;

    // The address and the text are shown at once.
    void SetURL(const std::wstring& url);
    std::wstring GetURL();
    void SetText(const std::wstring& text);
    std::wstring GetText();
    // True: clicks are reported and open nothing; false: the label opens the URL itself.
    void SetbDefaultClickProcess(bool defaultProcess);
    void SetColors(RGBColor link, RGBColor visited, RGBColor hover);
    RGBColor GetLinkColor();
    RGBColor GetVisitedColor();
    RGBColor GetHoverColor();
    void SetVisited(bool visited);
    bool GetVisited();
    // Shown from the next time the link is drawn.
    void SetUnderline(bool underline);
    bool GetUnderline();

    // A click on the link, or its mnemonic, while clicks are reported.
    HandlerList<> OnLinkActivated;

private:
    std::shared_ptr<HyperLinkElementImpl> m_impl;
};

} // namespace AUILib
