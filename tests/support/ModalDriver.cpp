#include "ModalDriver.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

// `className` null: any modal widget.
void pollForModal(const char* className, std::function<void(QWidget*)> action, QElapsedTimer started, int timeoutMs)
{
    QWidget* modal = QApplication::activeModalWidget();
    if (modal && (!className || modal->inherits(className))) {
        action(modal);
        return;
    }
    if (started.elapsed() > timeoutMs) {
        ADD_FAILURE() << "no modal " << (className ? className : "window") << " appeared within " << timeoutMs
                      << " ms";
        return;
    }
    QTimer::singleShot(10, qApp, [className, action = std::move(action), started, timeoutMs]() mutable {
        pollForModal(className, std::move(action), started, timeoutMs);
    });
}

void schedulePoll(const char* className, std::function<void(QWidget*)> action, int timeoutMs)
{
    QElapsedTimer started;
    started.start();
    QTimer::singleShot(0, qApp, [className, action = std::move(action), started, timeoutMs]() mutable {
        pollForModal(className, std::move(action), started, timeoutMs);
    });
}

void clickStandardButton(QMessageBox* box, QMessageBox::StandardButton answer)
{
    if (QAbstractButton* button = box->button(answer))
        button->click();
    else
        ADD_FAILURE() << "the message box has no such button";
}

QString withoutMnemonic(QString text)
{
    return text.remove('&');
}

} // namespace

void whenModalShown(std::function<void(QWidget*)> action, int timeoutMs)
{
    schedulePoll(nullptr, std::move(action), timeoutMs);
}

void whenModalShown(const char* className, std::function<void(QWidget*)> action, int timeoutMs)
{
    schedulePoll(className, std::move(action), timeoutMs);
}

void answerMessageBoxWhenShown(QMessageBox::StandardButton answer, int timeoutMs)
{
    whenModalShown(
        "QMessageBox",
        [answer](QWidget* modal) { clickStandardButton(static_cast<QMessageBox*>(modal), answer); }, timeoutMs);
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
            clickStandardButton(box, answer);
        },
        timeoutMs);
}
