#pragma once

#include "Dialog.h"

#include <QUiLoader>

namespace AUILib {

// Qt's form loader with the library's controls: every widget element becomes a control of the
// dialog, the form's root is the dialog's own window.
class ZrQUiLoader : public QUiLoader
{
public:
    explicit ZrQUiLoader(Dialog::impl* dialog);

    QWidget* createWidget(const QString& className, QWidget* parent, const QString& name) override;

private:
    Dialog::impl* m_dialog;
};

} // namespace AUILib
