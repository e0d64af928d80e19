#pragma once

#include <QDialogButtonBox>
#include <QString>

#include <map>

namespace AUILib {

// The button box's widget: it styles its standard buttons with the sheets they were given and,
// on its window's first activation, records their sizes into size rules.
class ButtonBoxQt : public QDialogButtonBox
{
    Q_OBJECT
public:
    using QDialogButtonBox::QDialogButtonBox;

    // Standard button value to the sheet its button was given.
    std::map<int, QString>& Sheets() { return m_sheets; }
    bool SizesFrozen() const { return m_sizesFrozen; }

protected:
    bool event(QEvent* event) override;

private:
    std::map<int, QString> m_sheets;
    bool m_sizesFrozen = false;
};

} // namespace AUILib
