#pragma once

#include "BaseImplQt.h"
#include "Label.h"
#include "LabelQt.h"

#include <QPointer>

#include <cstdint>
#include <string>

namespace AUILib {

class Label::impl : public BaseImplQt
{
public:
    explicit impl(Label& owner);
    ~impl() override;

    QWidget* GetWidget() override { return m_widget; }
    LabelQt* Widget() const { return m_widget; }
    // Face empty, point size -1 and the flags -1 once the widget is gone.
    virtual FontData GetFont();

    // The program's own text, which takes the place of a link.
    void SetPlainText(const std::wstring& text);
    void LayOutText(const std::wstring& text);
    // The stored text laid out again under new settings; a picture shown since stays.
    void LayOutAgain(const std::wstring& text);
    void SetLinkText(const std::wstring& before, const std::wstring& link, const std::wstring& after,
                     const std::wstring& target);
    void SetHyperlinkColor(RGBColor link);
    std::wstring GetText() const;
    void SetFont(const FontData& font);
    void SetTextAlign(TextAlign align);
    TextAlign GetTextAlign() const;
    void SetVCenter(bool center);
    bool GetVCenter() const;
    void SetBackgroundColor(int rgb);
    int GetBackgroundColor() const { return m_backgroundColor; }
    void SetTextColor(int rgb);
    int GetTextColor() const { return m_textColor; }
    // The stored text colour as the label's state shows it. The colour stands for every state, so
    // the lightening takes the place of Qt's disabled look while the label, or a window around it,
    // is disabled.
    void PaintTextColor();
    void SetWordWrap(bool wrap);
    void TruncateTextToEllipses(bool truncate);
    bool IsTruncating() const { return m_truncate; }
    void SetLineSpacing(int percent);

    Size LoadPicture(const std::wstring& path, ScalePicture scale, int size);
    Size LoadPicture(const unsigned char* data, int length, ImageTypes type, ScalePicture scale, int size);
    bool PlayGif();
    bool StopGif();
    void DrawTxt(const std::wstring& text);

private:
    QString LaidOutPlain(const QString& text) const;
    QString LaidOutTruncated(const QString& text) const;
    void SetRoleColor(QPalette::ColorRole role, const QColor& colour);
    int DevicePixelRatio() const;
    int IconSize(int size) const;
    // A picture, or nothing, takes the text's place: no later layout brings the old text back.
    void ForgetText() { m_text.clear(); }
    Size SetScaledPixmap(const QPixmap& pixmap, ScalePicture scale, bool gif);
    Size SetScaledMovie(const QByteArray& bytes, const QPixmap& firstFrame, ScalePicture scale);

    std::int32_t m_backgroundColor = -1;
    std::int32_t m_textColor = -1;
    std::int32_t m_wordWrap = 0;
    std::wstring m_text;
    bool m_truncate = false;
    QPointer<LabelQt> m_widget;
    std::int32_t m_lineHeight = -1;
};

} // namespace AUILib
