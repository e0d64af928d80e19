#pragma once

#include <QObject>

class QWidget;

namespace AUILib {

// Tells its owner when the watched widget gains or loses the focus; it lives as long as the widget.
class FocusWatcher : public QObject
{
    Q_OBJECT
public:
    explicit FocusWatcher(QWidget* watched);

    bool eventFilter(QObject* watched, QEvent* event) override;

signals:
    void focusChanged(bool in);
};

} // namespace AUILib
