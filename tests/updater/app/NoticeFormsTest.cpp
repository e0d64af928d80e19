#include "app/DlgAutoUpdate.h"
#include "app/dlgAcCertain.h"
#include "app/dlgForceAutoUpdate.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTextEdit>

#include <gtest/gtest.h>

namespace {

template <typename Widget>
std::string textOf(const QWidget& dialog, const char* name)
{
    const auto* widget = dialog.findChild<Widget*>(name);
    return widget ? widget->text().toStdString() : std::string("<no ") + name + ">";
}

TEST(NoticeForms, ForcedUpdateKeepsItsMarkersAndStaysOpenOnInstall)
{
    dlgForceAutoUpdate dialog(nullptr, nullptr);
    EXPECT_EQ(dialog.size(), QSize(552, 294));
    EXPECT_EQ(textOf<QLabel>(dialog, "lbl_detail"),
              "Your IT administrator has required a %s update. %s must be closed to proceed with the installation. "
              "Please close %s and then click Retry to continue.");
    EXPECT_EQ(textOf<QPushButton>(dialog, "btn_Install"), "Install");
    EXPECT_EQ(dialog.findChild<QComboBox*>("cb_Remind")->count(), 0);

    dialog.show();
    dialog.findChild<QPushButton*>("btn_Install")->click();
    EXPECT_TRUE(dialog.isVisible());
}

TEST(NoticeForms, EnterpriseAndAutomaticOfferForms)
{
    dlgAcCertain enterprise(nullptr);
    EXPECT_EQ(enterprise.size(), QSize(406, 235));
    EXPECT_EQ(textOf<QLabel>(enterprise, "label"), "Your enterprise administrator asks you to update client to");
    EXPECT_EQ(textOf<QPushButton>(enterprise, "btn_now"), "Now");
    EXPECT_EQ(textOf<QPushButton>(enterprise, "btn_nexttime"), "Next Time");

    DlgAutoUpdate offer(nullptr);
    EXPECT_EQ(offer.size(), QSize(588, 450));
    EXPECT_EQ(textOf<QLabel>(offer, "label_logo"), "Logo");
    EXPECT_EQ(textOf<QCheckBox>(offer, "checkBox_InstallDurnisAuto"),
              "Install a free 14-days trial of Kelvrin PDF Editor");
    EXPECT_EQ(textOf<QPushButton>(offer, "btn_skip"), "Skip this version");
    EXPECT_EQ(textOf<QPushButton>(offer, "btn_remind"), "Remind Me Later");
    EXPECT_TRUE(offer.findChild<QTextEdit*>("textEdit_Description")->toPlainText().isEmpty());
}

} // namespace
