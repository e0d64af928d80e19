#pragma once

#include "PromptsPopup.h"
#include "PromptsPopupQt.h"

#include <QImage>
#include <QPointer>
#include <QStyle>

#include <string>

namespace AUILib {

class PromptsPopup::impl
{
public:
    impl();
    virtual ~impl();

    virtual QWidget* GetWidget() const { return m_label; }

    void Create(QWidget* anchor, const std::wstring& text, int timeoutMs, bool closeOnInput);
    void Show(bool show, int x, int y);
    bool SetTitleIcon(BalloonTipIconType type);
    void SetTitleIcon(const std::wstring& path);
    bool SetTitleIcon(const unsigned char* data, int length);
    void SetTitle(const std::wstring& title);
    bool IsDisplayed() const { return m_label && m_label->isVisible(); }

private:
    enum class IconKind : std::int32_t { None = 0, Standard = 1, Picture = 2 };

    QString Content() const;
    QString IconCell(const QString& attributes) const;

    QPointer<QWidget> m_anchor;
    std::wstring m_text;
    std::wstring m_title;
    QStyle::StandardPixmap m_standardIcon = QStyle::SP_CustomBase;
    IconKind m_iconKind = IconKind::None;
    QPointer<PromptsPopupQt> m_label;
    QImage m_titleImage;
};

} // namespace AUILib
