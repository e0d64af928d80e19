#pragma once

#include <QRadioButton>

namespace AUILib {

class RadioButtonQt : public QRadioButton
{
    Q_OBJECT
public:
    using QRadioButton::QRadioButton;
};

} // namespace AUILib
