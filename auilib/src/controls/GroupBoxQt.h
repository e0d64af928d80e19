#pragma once

#include <QGroupBox>

namespace AUILib {

class GroupBoxQt : public QGroupBox
{
    Q_OBJECT
public:
    using QGroupBox::QGroupBox;
};

} // namespace AUILib
