#pragma once

#include <QLabel>

namespace AUILib {

class HyperLinkElement;

// The link's label. It builds its rich text from its control's settings when the pointer enters or
// leaves, when it is shown, and at the next paint after a setting changed.
class HyperLinkElementQt : public QLabel
{
    Q_OBJECT
public:
    explicit HyperLinkElementQt(HyperLinkElement& owner);

    // For the control's implementation when it goes: a plain label from then on.
    void ReleaseOwner() { m_owner = nullptr; }
    void SetNeedsRedraw() { m_needsRedraw = true; }

protected:
    bool event(QEvent* event) override;

private:
    void Redraw(unsigned int color, bool underline);
    // The colour and underline of a link that the pointer is not over.
    void RedrawResting();

    HyperLinkElement* m_owner;
    // The markup this label last drew: a text given to the label other than that (by a form) is the
    // link's text while the control has none.
    QString m_drawn;
    bool m_needsRedraw = false;
    // Whether the pointer is over this label: between its Enter and its Leave.
    bool m_hover = false;
};

} // namespace AUILib
