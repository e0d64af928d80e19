#pragma once
#include "WaitBound.h"

#include <QMessageBox>
#include <QString>

#include <functional>

class QWidget;

// A modal exec() blocks the test, so the test schedules what the user would do before it calls exec():
// `action` runs on the active modal widget as soon as one is shown (polled, bounded by `timeoutMs`;
// the test fails when none appears).
void whenModalShown(std::function<void(QWidget*)> action, int timeoutMs = kWaitBoundMs);

// As whenModalShown, for the first active modal widget that inherits `className`: a modal window
// that is already open (a hidden one among them) is passed over.
void whenModalShown(const char* className, std::function<void(QWidget*)> action, int timeoutMs = kWaitBoundMs);

// Answers the next modal message box with `button`, passing over other modal windows.
void answerMessageBoxWhenShown(QMessageBox::StandardButton button, int timeoutMs = kWaitBoundMs);

// Clicks the button below `root` whose object name or text (mnemonics ignored) is `nameOrText`.
// Returns false when there is none.
bool pressButton(QWidget* root, const QString& nameOrText);

// Answers the next modal message box with `button`.
void answerNextMessageBox(QMessageBox::StandardButton button, int timeoutMs = kWaitBoundMs);
