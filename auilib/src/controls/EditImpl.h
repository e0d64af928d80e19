#pragma once

#include "BaseImplQt.h"
#include "Edit.h"
#include "EditQt.h"
#include "FocusWatcher.h"
#include "OnlyNumbersData.h"

#include <QCompleter>
#include <QPointer>
#include <QStringList>

#include <memory>
#include <string>

namespace AUILib {

class Edit::impl : public BaseImplQt
{
public:
    explicit impl(Edit& owner);
    ~impl() override;

    QWidget* GetWidget() override { return m_widget; }
    EditQt* Widget() const { return m_widget; }

    void SetText(const QString& text);
    OnlyNumbersData& Numbers() { return m_numbers; }
    void SetSuffix(const std::wstring& suffix);
    void SetColour(int rgb, bool text);
    int Colour() const { return m_colour; }
    void SetAutoComplete(const std::vector<std::wstring>& words);
    void EnableAutoComplete(bool enable);
    void SetSelection(int start, int length);
    std::shared_ptr<ContextMenu>& InsertedMenu() { return m_contextMenu; }
    bool ShowBalloonTip(const std::wstring& title, const std::wstring& text, BalloonTipIconType icon);
    bool HideBalloonTip();
    void EnableExtendedButton(const std::wstring& normalImage, const std::wstring& hoverImage);
    void ExtendedButtonSetImage(const unsigned char* data, int length, ImageTypes type, bool hover);

private:
    struct AutoComplete
    {
        QPointer<QCompleter> completer;
        QStringList words;
        QPointer<QLineEdit> lineEdit;
    };

    // Keeps the suffix at the end and the text a number when numbers are asked for.
    void ApplyTextRule(const QString& changed);
    void SetTextSuppressed(const QString& text);
    // Writes the rule's result back; a cursor of -1 is left where setText puts it.
    void Rewrite(const QString& text, int cursor);

    Edit& m_owner;
    std::int32_t m_colour = -1;
    OnlyNumbersData m_numbers;
    std::unique_ptr<AutoComplete> m_autoComplete;
    QPointer<FocusWatcher> m_focusWatcher;
    QPointer<EditQt> m_widget;
    std::shared_ptr<ContextMenu> m_contextMenu;
    std::unique_ptr<PromptsPopup> m_balloonTip;
    std::wstring m_suffix;
    QString m_lastAccepted;
    // Set while the rule writes the text back, so that the change it makes itself does not run it
    // again and hide the prompts it has just shown.
    bool m_rewriting = false;
    // Set while SetText puts the program's text in: the suffix rule is for what the user types.
    bool m_settingText = false;
};

} // namespace AUILib
