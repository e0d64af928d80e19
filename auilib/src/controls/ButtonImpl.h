#pragma once

#include "BaseImplQt.h"
#include "Button.h"

#include <QColor>
#include <QIcon>
#include <QPixmap>
#include <QPointer>
#include <QPushButton>

#include <QLabel>
#include <QVBoxLayout>

namespace AUILib {

class Button::impl : public BaseImplQt
{
public:
    // `ownsWidget`: the button made its widget itself and deletes it while no parent has taken it.
    impl(Button* owner, QPushButton* button, bool ownsWidget);
    ~impl() override;

    QWidget* GetWidget() override { return m_widget; }

    // The owner is going: the widget and the click stop reaching it.
    void DetachOwner();

    void SetText(const std::wstring& text);
    std::wstring GetText() const;
    void SetChecked(bool checked);
    bool GetCheck() const;
    void LoadPicture(const std::wstring& path, ScalePicture scale, int size, bool disabled);
    void LoadPicture(const unsigned char* data, int length, ImageTypes type, ScalePicture scale, int size,
                     bool disabled);
    void InsertMenuBar(std::shared_ptr<ContextMenu> menu, bool arrow);
    void RemoveMenuBar();
    void SetFont(const FontData& font);
    FontData GetFont() const;

    // Looks.
    void SetStyle(ButtonStyle style);
    ButtonStyle GetStyle() const { return m_style; }
    void SetTextColor(int colour);
    void SetTextColor(RGBColor normal, RGBColor disabled);
    void SetBackgroundColor(unsigned int colour, bool allStates);
    void SetBackgroundColor(RGBColor normal, RGBColor hover, RGBColor disabled, RGBColor focus, RGBColor pressed);
    void SetBorderColor(RGBColor normal, RGBColor hover, RGBColor disabled);
    void SetRoundedButtonCornerRadius(int radius);
    int GetRoundedButtonCornerRadius() const { return m_cornerRadius; }
    void DisableFocusRect(bool disable);
    bool IsDisableFocusRect() const { return m_focusRectDisabled; }
    void ApplyStyleSheet(const QString& sheet);
    void EnsureDefaultSheet();

    // Read by the button's widget.
    bool HasMenuArrow() const { return m_menuArrow; }
    QColor TextColor() const { return m_textColor; }
    QColor DisabledTextColor() const { return m_disabledTextColor; }
    const QString& CurrentSheet() const { return m_currentSheet; }
    void SetCurrentSheet(const QString& sheet) { m_currentSheet = sheet; }

private:
    static bool ShowsPictureAboveText(ButtonStyle style);
    void OnClick();
    void SetButtonText(const QString& text);
    void BuildLayout();
    void SetPicture(const QPixmap& pixmap, ScalePicture scale, bool disabled);
    // An edit of one property of the sheet in force, applied.
    void ApplyEdit(const QString& selector, const QString& property, const QString& value);
    void EditLabelSheet(const QString& selector, const QString& colour);
    bool InButtonBox() const;
    void RepaintWidget();

    Button* m_owner;
    bool m_ownsWidget;
    QPointer<QPushButton> m_widget;
    std::shared_ptr<ContextMenu> m_menu;
    QString m_currentSheet;
    bool m_menuArrow = false;
    QColor m_textColor;
    QColor m_disabledTextColor;
    ButtonStyle m_style = Standard;
    QPointer<QLabel> m_pictureLabel;
    QPointer<QLabel> m_textLabel;
    QPointer<QVBoxLayout> m_layout;
    QIcon m_icon;
    QPixmap m_picture;
    QPixmap m_disabledPicture;
    int m_cornerRadius = 0;
    bool m_focusRectDisabled = false;
};

} // namespace AUILib
