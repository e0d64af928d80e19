#pragma once

#include <QDialog>

namespace AUILib {

class Dialog;

// A dialog's window: closing asks the dialog's FilterDone first, resizes fire its OnResize.
// Without an owner (the dialog is gone) it is a plain QDialog.
class DialogQt : public QDialog
{
    Q_OBJECT
public:
    DialogQt(Dialog* owner, QWidget* parent);

    Dialog* Owner() const { return m_owner; }
    void SetOwner(Dialog* owner) { m_owner = owner; }

public slots:
    void done(int result) override;
    void accept() override;
    // An embedded dialog hands the rejection to the dialog it sits in.
    void reject() override;

protected slots:
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    Dialog* m_owner;
};

// Clears the default and auto-default state of every push button in the window.
void ClearDefaultButtons(QWidget* window);

} // namespace AUILib
