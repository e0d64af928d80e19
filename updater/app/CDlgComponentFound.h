#pragma once

#include "ComponentInfo.h"

#include <QDialog>

#include <memory>

class Ui_DlgComponentFound;

// Asks the user whether to download the components the reader needs: Yes accepts, No rejects. It
// names and describes them and links to the add-ons page for a later download by hand.
class CDlgComponentFound : public QDialog
{
public:
    CDlgComponentFound(ComponentInfo& info, QWidget* parent);
    ~CDlgComponentFound() override;

    void init(ComponentInfo& info);

private:
    std::unique_ptr<Ui_DlgComponentFound> ui;
};
