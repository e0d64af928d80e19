#pragma once

#include <QBasicTimer>
#include <QLabel>
#include <QMetaObject>
#include <QPointer>

namespace AUILib {

// The pop-up's window: a frameless tool-tip label that paints its own balloon, watches its anchor
// and the anchor's window, and hides after its time-out.
class PromptsPopupQt : public QLabel
{
    Q_OBJECT
public:
    PromptsPopupQt();
    ~PromptsPopupQt() override;

    void WatchWindow(QWidget* window);
    void WatchAnchor(QWidget* anchor);
    void SetCloseOnInput(bool closeOnInput) { m_closeOnInput = closeOnInput; }
    // -1 stands for 50 seconds.
    void SetTimeout(int milliseconds) { m_timeoutMs = milliseconds == -1 ? 50000 : milliseconds; }

    // Fits the label to a text without a title; `requestedPoint` is the point given to Show.
    void FitToText(const QPoint& requestedPoint);
    // Shows the pop-up near `anchorPoint`; one already shown keeps its place and its timer.
    void Present(const QPoint& anchorPoint, QWidget* anchor);
    void Dismiss();

    // The balloon's shape: the arrow at the top left points at the anchor point.
    static constexpr int ArrowLeft = 5;
    static constexpr int ArrowWidth = 10;
    static constexpr int ArrowHeight = 10;
    static constexpr int TopOffset = 5; // also the corner radius
    static constexpr int TextMargin = 10;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    struct Watched
    {
        QPointer<QWidget> widget;
        QMetaObject::Connection destroyed;
    };

    void Watch(Watched& slot, QWidget* widget);
    void FilterAnchorEvent(QEvent* event);
    void FilterWindowEvent(QEvent* event);
    QPoint Placement(const QPoint& anchorPoint, QWidget* anchor) const;

    bool m_closeOnInput = false;
    QBasicTimer m_timer;
    int m_timeoutMs = 50000;
    Watched m_anchor;
    Watched m_window;
    bool m_shown = false;
};

} // namespace AUILib
