#pragma once

#include "BaseImplQt.h"
#include "RichEdit.h"
#include "RichEditQt.h"

#include <QPointer>
#include <QTextCursor>

namespace AUILib {

class RichEdit::impl : public BaseImplQt
{
public:
    explicit impl(RichEdit& owner);
    ~impl() override;

    QWidget* GetWidget() override { return m_widget; }
    RichEditQt* Widget() const { return m_widget; }

    void SetText(const std::wstring& text);
    Selection GetSel();
    void SetSel(Selection selection);
    CharFormat_ GetSelectionCharFormat();
    void SetSelectionCharFormat(const CharFormat_& format);

private:
    bool m_settingText = false;
    QPointer<RichEditQt> m_widget;
    QTextCursor m_cursor;
};

} // namespace AUILib
