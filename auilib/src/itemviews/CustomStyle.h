#pragma once

#include <QProxyStyle>

namespace AUILib {

// The tree view's look: only check box, icon and text of a selected item look selected, and the
// expand indicators are drawn as filled triangles or boxed signs.
class CustomStyle : public QProxyStyle
{
    Q_OBJECT
public:
    enum Flag : int {
        BoxedExpanders = 0x01,
        CommonBranches = 0x02,
        NoExpanders = 0x04,
        InactiveSelectionBranch = 0x08,
    };

    CustomStyle(bool selectionColorsSet, int flags);

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget = nullptr) const override;

    void SetSelectionColorsSet(bool set) { m_selectionColorsSet = set; }
    int Flags() const { return m_flags; }
    // Whether the flag changed.
    bool SetFlag(Flag flag, bool on);

private:
    void DrawItemPanel(const QStyleOption* option, QPainter* painter, const QWidget* widget) const;
    void DrawBranch(const QStyleOption* option, QPainter* painter, const QWidget* widget) const;

    bool m_selectionColorsSet;
    int m_flags;
};

} // namespace AUILib
