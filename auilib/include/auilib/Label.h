#pragma once

#include "AUILibUtils.h"
#include "BaseGUIObject.h"
#include "FontData.h"
#include "RGBColor.h"
#include "TextAlign.h"

#include <memory>
#include <string>

namespace AUILib {

// Static text or picture: a text laid out as a paragraph with a line height and an alignment, one
// hyperlink composed from four parts, a text cut to the width with an ellipsis, pictures of any
// format (icons, animated GIFs) scaled to the control, and a text drawn into a picture.
// Once its widget is gone the label's own operations do nothing and answer neutral values.
class Label : public BaseGUIObject
{
public:
    class impl;

    Label();
    ~Label() override;

    bool Create(QWidget* parent) override;
    Size IdealSize() override;
    std::shared_ptr<BaseImpl> GetBaseImpl() const override;
    SkinManager* GetSkinManager() override;

    // Fields left at -1 (a point size of 0 or less) keep the widget's current value.
    virtual void SetFont(FontData& font);
    virtual void SetTextAlign(TextAlign align);
    virtual TextAlign GetTextAlign();
    // Adds the vertical flag to the alignment; nothing is removed.
    virtual void SetVCenter(bool center);
    virtual bool GetVCenter();
    virtual void SetBackgroundColor(int rgb);
    virtual int GetBackgroundColor();
    virtual void SetTextColor(int rgb);
    virtual int GetTextColor();
    virtual FontData GetFont();
    // The size of the picture shown (in device pixels); empty when nothing was shown. A picture that
    // does not load leaves the label as it was. A picture shown takes the text's place: a later change
    // of the layout settings keeps the picture, and GetText is empty until a new text.
    virtual Size LoadPicture(const std::wstring& path, ScalePicture scale, int size);
    // Null data clears the label; a length of 0 or less is no picture.
    virtual Size LoadPicture(const unsigned char* data, int length, ImageTypes type, ScalePicture scale, int size);
    virtual bool PlayGif();
    virtual bool StopGif();
    // Shows the text drawn into a picture of the label's size.
    virtual void DrawTxt(const std::wstring& text);

    QWidget* GetWndPtr();
    // Texts are markup: they go into the label as they are. The text takes the hyperlink's place, as a
    // picture does.
    void SetText(const std::wstring& text, bool unused = true);
    // One hyperlink between two texts; an empty target stands for "#".
    void SetText(const std::wstring& before, const std::wstring& link, const std::wstring& after,
                 const std::wstring& target);
    // The link colour serves all three states.
    void SetHyperlinkColors(RGBColor link, RGBColor visited, RGBColor hover);
    bool HasHyperlink();
    // True hands link clicks to OnLinkClicked; false lets the label open the link itself.
    void SetbDefaultClickProcess(bool handleClicks);
    std::wstring GetText() const;
    void SetToolTip(const std::wstring& text);
    std::wstring GetToolTip() const;
    void SetBorder();
    void SetWordWrap(bool wrap);
    void TruncateTextToEllipses(bool truncate);
    // Percent; -1 shows the text as it is, without a paragraph around it.
    void SetLineSpacing(int percent);

    HandlerList<> OnLinkClicked;

private:
    std::shared_ptr<impl> m_impl;
};

} // namespace AUILib
