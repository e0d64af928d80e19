#pragma once

#include <QLineEdit>

namespace AUILib {

// The text field of a spin box that takes text of its own, such as pica lengths, under a validator it sets.
class CustomLineEdit : public QLineEdit
{
    Q_OBJECT
public:
    using QLineEdit::QLineEdit;
};

} // namespace AUILib
