#pragma once

#include "BaseImplQt.h"
#include "FocusWatcher.h"
#include "MultiLineEdit.h"
#include "MultiLineEditQt.h"

#include <QPointer>
#include <QTextCursor>

#include <string>

namespace AUILib {

class MultiLineEdit::impl : public BaseImplQt
{
public:
    explicit impl(MultiLineEdit& owner);
    ~impl() override;

    QWidget* GetWidget() override { return m_widget; }
    MultiLineEditQt* Widget() const { return m_widget; }

    void SetText(const std::wstring& text);
    Selection GetSel();
    void SetSel(Selection selection);
    void SetAdaptiveHeight(bool adaptive);
    void SetLimitText(int limit);

private:
    void OnTextChanged();
    // Removes what is over the limit before the cursor, in one edit.
    void TrimToLimit();
    void ApplyAdaptiveHeight();

    MultiLineEdit& m_owner;
    bool m_settingText = false;
    bool m_adaptiveHeight = false;
    std::int32_t m_limit = -1;
    QPointer<MultiLineEditQt> m_widget;
    QTextCursor m_selectionCursor;
    QPointer<FocusWatcher> m_focusWatcher;
    std::wstring m_lastText;
    bool m_trimming = false;
};

} // namespace AUILib
