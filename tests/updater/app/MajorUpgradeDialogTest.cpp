#include "IsolatedEnvironment.h"
#include "OpenedUrls.h"
#include "PlistFileView.h"
#include "app/CDlg_MajorUpdate.h"
#include "app/RedirectAddresses.h"
#include "app/UpdaterApp.h"
#include "engine/CReaderModuleManager.h"
#include "engine/CSetup_CommandLine.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>
#include <QTranslator>

#include <gtest/gtest.h>

#include <memory>
#include <optional>

namespace {

const QString kCheckedKey = "Software.Kelvrin Software.Kelvrin PDF Reader.plugins.Updater.MajorUpdateChecked";
const QString kRejectKey = "Software.Kelvrin Software.Kelvrin PDF Reader.plugins.Updater.UpdateRejectVersion";

struct Offer {
    const char* moduleType;
    const char* version;
    bool majorUpgrade;
};

// A run of the updater with the conductor as `theApp` and an engine whose selection holds `offers`.
class MajorUpgradeNotice : public IsolatedTest
{
protected:
    ~MajorUpgradeNotice() override { theApp = nullptr; }

    void startRun(std::initializer_list<Offer> offers, bool withEngine = true)
    {
        m_commandLine.ProcessCmdLine("-updater -type \"Update List\" -version 12.1.3");
        m_app = std::make_unique<UpdaterApp>(&m_commandLine, nullptr);
        theApp = m_app.get();
        if (!withEngine)
            return;
        auto* engine = new CReaderModuleManager("Update List", nullptr);
        m_app->setEngine(engine);
        for (const Offer& offer : offers) {
            MODULEINFO* module = engine->AddModule("Update List");
            module->module_type = offer.moduleType;
            module->version = offer.version;
            module->bMajorUpgrade = offer.majorUpgrade;
            engine->AddSelModule(module);
        }
    }

    QString settingsFile() const
    {
        return env.home() + "/Library/Preferences/com.kelvrin-software.Kelvrin.PDF.Reader.plist";
    }
    std::optional<qint64> checkedCount() const { return PlistFileView::integerAt(settingsFile(), {kCheckedKey}); }
    QString rejectedVersion() const { return PlistFileView::stringAt(settingsFile(), {kRejectKey}); }

    static void dismiss() { CDlg_MajorUpdate(nullptr).findChild<QPushButton*>("pushButton_2")->click(); }

    CSetup_CommandLine m_commandLine;
    std::unique_ptr<UpdaterApp> m_app;
};

TEST_F(MajorUpgradeNotice, DismissalsCountOneTwoThreeAndStartOver)
{
    startRun({{"updater", "13.0.0.100", true}});
    for (qint64 expected : {1, 2, 3, 1, 2}) {
        dismiss();
        EXPECT_EQ(checkedCount(), expected);
    }
    EXPECT_EQ(rejectedVersion().toStdString(), "13.0.0.100");
}

TEST_F(MajorUpgradeNotice, MoreInfoRemembersTheUpgradeAndOpensWhatIsNew)
{
    startRun({{"plugin", "1.0", true}, {"updater", "12.9", false}, {"updater", "13.0.0.100", true},
              {"updater", "14.0", true}});
    OpenedUrls opened;
    {
        CDlg_MajorUpdate notice(nullptr);
        notice.findChild<QPushButton*>("btn_info")->click();
        EXPECT_EQ(notice.result(), QDialog::Accepted);
    }
    EXPECT_EQ(checkedCount(), 3) << "the destructor leaves the value alone";
    EXPECT_EQ(rejectedVersion().toStdString(), "13.0.0.100");
    const QString address = majorUpgradeInfoAddress(QString(), "en-US", "12.1.3", "Business");
    EXPECT_EQ(opened.urls(), QList<QUrl>{QUrl(address, QUrl::TolerantMode)});
    EXPECT_EQ(opened.urls().value(0).query(QUrl::FullyDecoded).toStdString(),
              "do=redirect&title=durnis4mac-upgrade&product=Kelvrin DurnisPDF for mac&language=en-US&version=12.1"
              "&edition=Business");
}

TEST_F(MajorUpgradeNotice, WithoutASelectedMajorUpdaterNoVersionIsWritten)
{
    for (bool withEngine : {true, false}) {
        SCOPED_TRACE(withEngine ? "engine without such a module" : "no engine");
        startRun({{"updater", "13.0", false}, {"Updater", "13.0", true}}, withEngine);
        OpenedUrls opened;
        CDlg_MajorUpdate(nullptr).findChild<QPushButton*>("btn_info")->click();
        EXPECT_EQ(opened.urls().size(), 1);
        dismiss();
        EXPECT_TRUE(rejectedVersion().isNull());
        EXPECT_EQ(checkedCount(), 1) << "only the dismissal counts";
        QFile::remove(settingsFile());
    }
}

TEST_F(MajorUpgradeNotice, WithoutAConductorOnlyTheDismissalCounts)
{
    dismiss();
    EXPECT_EQ(checkedCount(), 1);
    EXPECT_TRUE(rejectedVersion().isNull());
}

std::string text(const CDlg_MajorUpdate& notice, const char* name)
{
    if (const auto* label = notice.findChild<QLabel*>(name))
        return label->text().toStdString();
    return notice.findChild<QPushButton*>(name)->text().toStdString();
}

TEST_F(MajorUpgradeNotice, TipTextsReplaceTheFormsTexts)
{
    startRun({});
    {
        const CDlg_MajorUpdate notice(nullptr);
        EXPECT_EQ(notice.windowTitle(), "Kelvrin Updater");
        EXPECT_EQ(text(notice, "lb_title"), "A major upgrade for Kelvrin PDF Reader is available. ");
        EXPECT_EQ(text(notice, "btn_info"), "More Info");
        EXPECT_TRUE(notice.findChild<QPushButton*>("pushButton_2")->isDefault());
        EXPECT_FALSE(notice.windowFlags() & Qt::WindowMaximizeButtonHint);
        EXPECT_TRUE(notice.windowFlags() & Qt::CustomizeWindowHint);
        const QFont titleFont = notice.findChild<QLabel*>("lb_title")->font();
        EXPECT_EQ(titleFont.pointSize(), 15);
        EXPECT_TRUE(titleFont.bold());
    }

    m_app->m_strMajorTipContent = "Version 13 brings tabs.";
    m_app->m_strMajorTipButton = "What's New";
    {
        const CDlg_MajorUpdate notice(nullptr);
        EXPECT_EQ(text(notice, "lb_title"), "A major upgrade for Kelvrin PDF Reader is available. ");
        EXPECT_EQ(text(notice, "lb_des"), "Version 13 brings tabs.");
        EXPECT_EQ(text(notice, "btn_info"), "What's New");
    }

    m_app->m_strMajorTipTitle = "Kelvrin PDF Reader 13 is here";
    const CDlg_MajorUpdate notice(nullptr);
    EXPECT_EQ(text(notice, "lb_title"), "Kelvrin PDF Reader 13 is here");
}

// Translates the notice's title to a pattern with markers that a printf-style formatter would read.
class HostileTitleTranslator : public QTranslator
{
public:
    bool isEmpty() const override { return false; }
    QString translate(const char* context, const char* sourceText, const char*, int) const override
    {
        if (QByteArray(context) == "CDlg_MajorUpdate" && QByteArray(sourceText).startsWith("A major upgrade"))
            return "%d%n%x: %s %s";
        return QString();
    }
};

TEST_F(MajorUpgradeNotice, TranslatedTitleOnlyReceivesTheProductName)
{
    HostileTitleTranslator translator;
    QCoreApplication::installTranslator(&translator);
    const CDlg_MajorUpdate notice(nullptr);
    QCoreApplication::removeTranslator(&translator);
    EXPECT_EQ(text(notice, "lb_title"), "%d%n%x: Kelvrin PDF Reader Kelvrin PDF Reader");
}

} // namespace
