#pragma once

// A menu's exec() blocks the test, so the test schedules the user's choice before it shows the
// menu: `action` runs on the open menu as soon as it pops up (polled, bounded; the test fails when
// none appears).
#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QMenu>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

inline void pollForPopup(std::function<void(QMenu*)> action, QElapsedTimer started)
{
    if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
        action(menu);
        return;
    }
    if (started.elapsed() > 5000) {
        ADD_FAILURE() << "no menu popped up";
        return;
    }
    QTimer::singleShot(10, qApp, [action = std::move(action), started]() mutable {
        pollForPopup(std::move(action), started);
    });
}

inline void whenPopupShown(std::function<void(QMenu*)> action)
{
    QElapsedTimer started;
    started.start();
    QTimer::singleShot(0, qApp, [action = std::move(action), started]() mutable {
        pollForPopup(std::move(action), started);
    });
}

// Chooses the entry with `text` of the open menu as a user would: highlight it, press Return.
inline void chooseFromPopup(const QString& text)
{
    whenPopupShown([text](QMenu* menu) {
        for (QAction* action : menu->actions()) {
            if (action->text() == text) {
                menu->setActiveAction(action);
                QTest::keyClick(menu, Qt::Key_Return);
                return;
            }
        }
        ADD_FAILURE() << "no entry " << text.toStdString();
        menu->close();
    });
}
