#include "DialogQt.h"

#include "Dialog.h"
#include "DialogImpl.h"

#include <QKeyEvent>
#include <QPushButton>

namespace AUILib {

DialogQt::DialogQt(Dialog* owner, QWidget* parent)
    : QDialog(parent)
    , m_owner(owner)
{
}

void DialogQt::done(int result)
{
    if (m_owner) {
        result = m_owner->FilterDone(result);
        if (result == -1)
            return;
    }
    QDialog::done(result);
}

void DialogQt::accept()
{
    done(Dialog::OK);
}

void DialogQt::reject()
{
    QWidget* top = window();
    if (!top || top == this) {
        QDialog::done(Dialog::Cancel);
        return;
    }
    if (auto* outer = qobject_cast<DialogQt*>(top))
        outer->reject();
}

void DialogQt::keyPressEvent(QKeyEvent* event)
{
    if (event->key() != Qt::Key_Escape) {
        QDialog::keyPressEvent(event);
        return;
    }
    if (windowFlags() & Qt::WindowCloseButtonHint)
        done(Dialog::Cancel);
    else
        event->accept();
}

void DialogQt::resizeEvent(QResizeEvent* event)
{
    if (m_owner)
        FireHandlers(m_owner->OnResize);
    QDialog::resizeEvent(event);
}

void DialogQt::showEvent(QShowEvent* event)
{
    if (m_owner) {
        const auto impl = std::static_pointer_cast<Dialog::impl>(m_owner->GetBaseImpl());
        if (!impl->IsDefaultButtonFlag())
            ClearDefaultButtons(this);
    }
    QDialog::showEvent(event);
}

void ClearDefaultButtons(QWidget* window)
{
    for (QPushButton* button : window->findChildren<QPushButton*>()) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }
}

} // namespace AUILib
