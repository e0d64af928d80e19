#pragma once

#include "BaseGUIObject.h"
#include "RGBColor.h"

#include <memory>

class QImage;

namespace AUILib {

// A freehand drawing surface: the user draws strokes with the mouse, optionally over a picture and
// inside a border; the strokes can be recoloured, cleared and taken as an image.
class DrawElement : public BaseGUIObject
{
public:
    class impl;

    DrawElement();
    ~DrawElement() override;

    // Puts the widget under `parent` without recording it as the parent window.
    bool Create(QWidget* parent) override;
    std::shared_ptr<BaseImpl> GetBaseImpl() const override;
    SkinManager* GetSkinManager() override;

    // A copy of `image` is drawn behind the strokes at (x, y).
    void DrawImage(const QImage* image, int x, int y);
    // The strokes alone, on white at the widget's size, owned by the caller; null until the user
    // has finished a stroke.
    QImage* GetImage();
    void ResetImage();
    void SetBorder(bool border);
    bool IsSetBorder();
    // For strokes begun afterwards.
    void SetLineColor(RGBColor color);
    RGBColor GetLineColor();
    // Recolours the strokes drawn so far; the line colour stays.
    void UpdateLinesColor(RGBColor color);

private:
    std::shared_ptr<impl> m_impl;
};

} // namespace AUILib
