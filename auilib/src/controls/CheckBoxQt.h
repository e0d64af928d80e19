#pragma once

#include <QCheckBox>

namespace AUILib {

// The check box's widget. In wrap mode it paints its text wrapped and counts a click anywhere on
// itself; otherwise it is a plain QCheckBox.
class CheckBoxQt : public QCheckBox
{
    Q_OBJECT
public:
    using QCheckBox::QCheckBox;

    void SetWrap(bool wrap) { m_wrap = wrap; }
    bool IsWrap() const { return m_wrap; }

protected:
    void paintEvent(QPaintEvent* event) override;
    bool hitButton(const QPoint& pos) const override;

private:
    bool m_wrap = false;
};

} // namespace AUILib
