#pragma once

#include <QDateTimeEdit>

namespace AUILib {

class DateEdit;

// The date edit's first widget; it knows its control only until the control goes.
class DateEditQt : public QDateTimeEdit
{
    Q_OBJECT
public:
    explicit DateEditQt(DateEdit& owner)
        : m_owner(&owner)
    {
    }

    void ReleaseOwner() { m_owner = nullptr; }

private:
    DateEdit* m_owner;
};

} // namespace AUILib
