#pragma once

#include <cstdint>
#include <memory>
#include <string>

class QWidget;

namespace AUILib {

enum class BalloonTipIconType : std::int32_t {
    None = 0,
    Information = 1,
    Warning = 2,
    Critical = 3,
};

// A balloon with a short message, optionally a bold title and a 16-pixel icon, shown next to an
// anchor widget; it hides itself after a time-out or, when asked to, on the user's next input.
class PromptsPopup
{
public:
    class impl;

    PromptsPopup();
    virtual ~PromptsPopup();
    PromptsPopup(const PromptsPopup&) = delete;
    PromptsPopup& operator=(const PromptsPopup&) = delete;

    // False for a null anchor. A time-out of -1 stands for 50 seconds.
    virtual bool Create(QWidget* anchor, const std::wstring& text, int unused, int timeoutMs, bool closeOnInput);
    // (x, y) is the anchor point in global coordinates; a negative one takes the anchor's top-left.
    virtual void Show(bool show, int x, int y);
    virtual bool SetTitleIcon(BalloonTipIconType type);
    virtual void SetTitleIcon(const std::wstring& path);
    virtual bool SetTitleIcon(const unsigned char* data, int length);
    // An empty title keeps the previous one.
    virtual void SetTitle(const std::wstring& title);
    bool IsDisplayed() const;

    // The pop-up's label, null before Create and once it is gone.
    QWidget* GetWidget() const;

private:
    std::unique_ptr<impl> m_impl;
};

} // namespace AUILib
