#include "ModalDriver.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

void pollForModal(std::function<void(QWidget*)> action, QElapsedTimer started, int timeoutMs)
{
    if (QWidget* modal = QApplication::activeModalWidget()) {
        action(modal);
        return;
    }
    if (started.elapsed() > timeoutMs) {
        ADD_FAILURE() << "no modal window appeared within " << timeoutMs << " ms";
        return;
    }
    QTimer::singleShot(10, qApp, [action = std::move(action), started, timeoutMs]() mutable {
        pollForModal(std::move(action), started, timeoutMs);
    });
}

QString withoutMnemonic(QString text)
{
    return text.remove('&');
}

} // namespace

void whenModalShown(std::function<void(QWidget*)> action, int timeoutMs)
{
    QElapsedTimer started;
    started.start();
    QTimer::singleShot(0, qApp, [action = std::move(action), started, timeoutMs]() mutable {
        pollForModal(std::move(action), started, timeoutMs);
    });
}

bool pressButton(QWidget* root, const QString& nameOrText)
{
    const auto buttons = root->findChildren<QAbstractButton*>();
    for (QAbstractButton* button : buttons) {
        if (button->objectName() == nameOrText || withoutMnemonic(button->text()) == withoutMnemonic(nameOrText)) {
            button->click();
            return true;
        }
    }
    return false;
}

void answerNextMessageBox(QMessageBox::StandardButton answer, int timeoutMs)
{
    whenModalShown(
        [answer](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            if (!box) {
                ADD_FAILURE() << "the modal window is not a message box";
                return;
            }
            if (QAbstractButton* button = box->button(answer))
                button->click();
            else
                ADD_FAILURE() << "the message box has no such button";
        },
        timeoutMs);
}
