#pragma once

#include <QLineEdit>

namespace AUILib {

// The text field a spin box takes in place of its own when it brings its own validator.
class CustomLineEdit : public QLineEdit
{
    Q_OBJECT
public:
    using QLineEdit::QLineEdit;
};

} // namespace AUILib
