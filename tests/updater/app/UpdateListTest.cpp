#include "DialogRun.h"
#include "ModalDriver.h"
#include "LocalHttpServer.h"
#include "PlistFileView.h"
#include "StandinPrograms.h"
#include "VzipFixture.h"
#include "app/DlgUpdatesTree.h"
#include "app/dlgfound.h"
#include "engine/DlgDownload.h"
#include "platform/CurrentUser.h"
#include "platform/PlistCodec.h"
#include "WaitBound.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QStandardItemModel>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTest>
#include <QTextEdit>
#include <QTreeView>

#include <gtest/gtest.h>

#include <memory>

namespace {

const QString kLastDayFileKey = "HKEY_CURRENT_USER.Software.Kelvrin Software.Kelvrin PDF Reader.plugins.Updater.LastDay";

class UpdateList : public DialogRun
{
protected:
    DlgUpdatesTree& open()
    {
        if (!m_app)
            startRun();
        dialog = std::make_unique<DlgUpdatesTree>(m_engine, m_app.get(), nullptr);
        return *dialog;
    }

    QTreeView* tree() const { return dialog->findChild<QTreeView*>("treeView_4"); }
    QStandardItemModel* model() const { return qobject_cast<QStandardItemModel*>(tree()->model()); }
    QPushButton* button(const char* name) const { return dialog->findChild<QPushButton*>(name); }
    QComboBox* combo() const { return dialog->findChild<QComboBox*>("combo_remind"); }

    // The row of `text` anywhere in the tree.
    QStandardItem* item(const QString& text) const
    {
        const QList<QStandardItem*> found = model()->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
        return found.isEmpty() ? nullptr : found.first();
    }

    // What a click on a row's check box does: the view toggles the tick, then reports the click.
    void tick(QStandardItem* row)
    {
        ASSERT_NE(row, nullptr);
        row->setCheckState(row->checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
        dialog->OnTreeViewClicked(row->index());
    }

    QString readerSettings() const
    {
        return env.home() + "/Library/Preferences/com.kelvrin-software.Kelvrin.PDF.Reader.plist";
    }

    std::unique_ptr<DlgUpdatesTree> dialog;
};

TEST_F(UpdateList, TreeShapes)
{
    struct Module {
        const char* type;
        const char* title;
        bool ocr;
    };
    const struct {
        const char* label;
        std::vector<Module> modules;
        const char* tree;
    } cases[] = {
        {"nothing", {}, ""},
        {"only add-ons", {{"service", "Stamps", false}, {"basic", "Forms", false}},
         "Add-ons[Forms (1.00MB)|Stamps (1.00MB)]"},
        {"only reader updates", {{"updater", "Reader 12.2", false}},
         "Kelvrin PDF Reader Updates[Reader 12.2 (1.00MB)]"},
        {"both", {{"service", "Stamps", false}, {"updater", "Reader 12.2", false}},
         "Kelvrin PDF Reader Updates[Reader 12.2 (1.00MB)]|Add-ons[Stamps (1.00MB)]"},
        {"an OCR pack", {{"basic", "OCR French", true}, {"service", "Stamps", false}, {"basic", "OCR German", true}},
         "Add-ons[OCR[OCR French (1.00MB)|OCR German (1.00MB)]|Stamps (1.00MB)]"},
        {"empty titles", {{"service", "", false}, {"updater", "", false}},
         "Kelvrin PDF Reader Updates[ (1.00MB)]|Add-ons"},
        {"two equal titles", {{"service", "Stamps", false}, {"service", "Stamps", false}},
         "Add-ons[Stamps (1.00MB)|Stamps (1.00MB)]"},
        {"an unknown type", {{"plugin", "Extra", false}}, "Add-ons"},
    };
    for (const auto& c : cases) {
        startRun();
        for (const Module& module : c.modules)
            offer(module.type, module.title, "1048576B", module.ocr);
        open();
        EXPECT_EQ(describe(model()).toStdString(), c.tree) << c.label;
        EXPECT_FALSE(button("button_download")->isEnabled()) << c.label;
    }
}

TEST_F(UpdateList, SizesReadAsTheServiceWritesThem)
{
    const struct {
        const char* size;
        const char* shown;
    } cases[] = {{"1048576b", "1.00MB"}, {" 3145728 B ", "3.00MB"}, {"1572864", "1.50MB"},
                 {"many", "0.00MB"},     {"", "0.00MB"},          {"10737418240B", "10240.00MB"}};
    for (const auto& c : cases) {
        startRun();
        offer("service", "Stamps", c.size);
        open();
        EXPECT_EQ(model()->index(0, 1, model()->index(0, 0)).data().toString().toStdString(), c.shown) << c.size;
    }
}

TEST_F(UpdateList, GroupsFollowTheirChildrenAndReaderUpdatesExcludeAddOns)
{
    offer("updater", "Reader 12.2");
    offer("updater", "Reader 12.2 patch");
    offer("service", "Stamps");
    offer("basic", "OCR French", "1B", true);
    open();
    QStandardItem* readerRoot = item("Kelvrin PDF Reader Updates");
    QStandardItem* addOns = item("Add-ons");
    QPushButton* download = button("button_download");

    tick(item("Reader 12.2"));
    EXPECT_EQ(readerRoot->checkState(), Qt::PartiallyChecked);
    EXPECT_TRUE(download->isEnabled());
    tick(item("Reader 12.2 patch"));
    EXPECT_EQ(readerRoot->checkState(), Qt::Checked);

    tick(item("OCR French"));
    EXPECT_EQ(item("OCR French")->checkState(), Qt::Checked);
    EXPECT_EQ(item("OCR")->checkState(), Qt::Checked) << "a group of one follows its child";
    EXPECT_EQ(addOns->checkState(), Qt::PartiallyChecked);
    EXPECT_EQ(item("Reader 12.2")->checkState(), Qt::Unchecked);
    EXPECT_EQ(item("Reader 12.2 patch")->checkState(), Qt::Unchecked);
    EXPECT_EQ(readerRoot->checkState(), Qt::Unchecked);

    tick(readerRoot);
    EXPECT_EQ(item("Reader 12.2")->checkState(), Qt::Checked);
    EXPECT_EQ(addOns->checkState(), Qt::Unchecked);
    EXPECT_EQ(item("OCR French")->checkState(), Qt::Unchecked);
    EXPECT_EQ(item("Stamps")->checkState(), Qt::Unchecked);

    tick(readerRoot);
    EXPECT_EQ(item("Reader 12.2")->checkState(), Qt::Unchecked);
    EXPECT_FALSE(download->isEnabled());
}

TEST_F(UpdateList, AClickOnACheckBoxTicksTheRowAndItsGroup)
{
    offer("service", "Stamps");
    open().show();
    QTreeView* view = tree();
    const QModelIndex stamps = item("Stamps")->index();
    QStyleOptionViewItem option;
    option.initFrom(view->viewport());
    option.rect = view->visualRect(stamps);
    option.features |= QStyleOptionViewItem::HasCheckIndicator;
    const QRect box = view->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, view);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, box.center());
    EXPECT_EQ(item("Stamps")->checkState(), Qt::Checked);
    EXPECT_EQ(item("Add-ons")->checkState(), Qt::Checked);
    EXPECT_TRUE(button("button_download")->isEnabled());
}

TEST_F(UpdateList, ClickingARowShowsItsDescription)
{
    offer("service", "Stamps");
    offer("service", "Forms");
    open();
    auto* description = dialog->findChild<QTextEdit*>("textEdit");
    EXPECT_EQ(description->toPlainText(), "About Forms") << "the last listed module";
    dialog->OnTreeViewClicked(item("Stamps")->index());
    EXPECT_EQ(description->toPlainText(), "About Stamps");
}

TEST_F(UpdateList, OkSelectsTheTickedModulesInTitleOrderAndRunsTheDownloadList)
{
    offer("service", "b Stamps");
    offer("service", "a Forms");
    offer("service", "c Sign");
    offer("service", "a Forms");
    open();
    std::vector<std::string> selected;
    std::string shownTitle;
    m_app->downloadList = [&](const std::string& title, CReaderModuleManager* engine) {
        shownTitle = title;
        for (int i = 0; i < engine->CountSelModules(); ++i)
            selected.push_back(engine->GetSelModule(i)->title);
        EXPECT_FALSE(dialog->isVisible());
    };
    tick(item("c Sign"));
    tick(model()->findItems("a Forms", Qt::MatchExactly | Qt::MatchRecursive).last());

    button("button_download")->click();
    EXPECT_EQ(shownTitle, "Update List");
    EXPECT_EQ(selected, (std::vector<std::string>{"a Forms", "c Sign"}));
    EXPECT_TRUE(dialog->bFinished);

    // After OK leaving asks nothing and keeps the engine.
    QTest::keyClick(dialog.get(), Qt::Key_Escape);
    EXPECT_FALSE(m_engine.isNull());
}

TEST_F(UpdateList, LeavingAsksFirstAndCloseReleasesTheEngine)
{
    using Leave = std::function<void(DlgUpdatesTree&)>;
    const struct {
        const char* label;
        Leave leave;
        bool releases;
    } ways[] = {
        {"Close", [](DlgUpdatesTree& d) { d.findChild<QPushButton*>("button_cancel")->click(); }, true},
        {"close control", [](DlgUpdatesTree& d) { d.close(); }, true},
        {"Escape", [](DlgUpdatesTree& d) { QTest::keyClick(&d, Qt::Key_Escape); }, false},
    };
    for (const auto& way : ways) {
        for (const QMessageBox::StandardButton answer : {QMessageBox::No, QMessageBox::Yes}) {
            SCOPED_TRACE(std::string(way.label) + (answer == QMessageBox::Yes ? " Yes" : " No"));
            startRun();
            offer("service", "Stamps");
            open().show();
            QString question;
            whenModalShown([&](QWidget* modal) {
                auto* box = qobject_cast<QMessageBox*>(modal);
                ASSERT_NE(box, nullptr);
                question = box->windowTitle() + ": " + box->text();
                EXPECT_EQ(box->defaultButton(), box->button(QMessageBox::Yes));
                box->button(answer)->click();
            });
            way.leave(*dialog);
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            EXPECT_EQ(question, "Kelvrin PDF Reader Updater: Are you sure you want to cancel the installation?");
            const bool left = answer == QMessageBox::Yes;
            EXPECT_EQ(dialog->isVisible(), !left);
            EXPECT_EQ(dialog->bFinished, left);
            EXPECT_EQ(m_engine.isNull(), left && way.releases);
            EXPECT_EQ(m_app->engine() == nullptr, left && way.releases);
            EXPECT_EQ(item("Stamps") != nullptr, true);
        }
    }
}

TEST_F(UpdateList, RemindChoicesOfAnAutomaticRun)
{
    startRun("-updater -type \"Auto Updater\" -version 12.1.3");
    offer("service", "Stamps");
    open().show();
    ASSERT_TRUE(combo()->isVisibleTo(dialog.get()));
    EXPECT_EQ(combo()->count(), 5);

    combo()->setCurrentIndex(0);
    emit combo()->activated(combo()->currentText());
    EXPECT_TRUE(dialog->isVisible()) << "Remind Me Later does nothing";
    EXPECT_FALSE(dialog->bFinished);
    EXPECT_TRUE(PlistFileView::stringAt(readerSettings(), {kLastDayFileKey}).isNull());

    const QDateTime before = QDateTime::currentDateTime();
    combo()->setCurrentIndex(2);
    emit combo()->activated("After six hours");
    const QString stored = PlistFileView::stringAt(readerSettings(), {kLastDayFileKey});
    const QDateTime remindAt = QDateTime::fromString(stored, Qt::TextDate);
    ASSERT_TRUE(remindAt.isValid()) << stored.toStdString();
    EXPECT_NEAR(before.secsTo(remindAt), 6 * 3600, 5);
    EXPECT_TRUE(dialog->bFinished);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_FALSE(m_engine.isNull()) << "a reminder keeps the engine";

    emit combo()->activated("Some other text");
    EXPECT_EQ(PlistFileView::stringAt(readerSettings(), {kLastDayFileKey}), "");
}

TEST_F(UpdateList, NeverRemindAsksAndOnYesDeclinesEveryModule)
{
    startRun("-updater -type \"Auto Updater\" -version 12.1.3");
    offer("service", "Stamps");
    offer("updater", "Reader update");
    open().show();

    answerNextMessageBox(QMessageBox::No);
    combo()->setCurrentIndex(4);
    emit combo()->activated("Never remind me");
    EXPECT_EQ(combo()->currentIndex(), 0);
    EXPECT_FALSE(dialog->bFinished);
    EXPECT_TRUE(PlistFileView::topLevelKeys(readerSettings()).isEmpty());

    answerNextMessageBox(QMessageBox::Yes);
    combo()->setCurrentIndex(4);
    emit combo()->activated("Never remind me");
    EXPECT_TRUE(dialog->bFinished);
    const QStringList keys = PlistFileView::topLevelKeys(readerSettings());
    EXPECT_TRUE(keys.contains("AutoUpdate_Stamps")) << keys.join(", ").toStdString();
    EXPECT_TRUE(keys.contains("AutoUpdate_Reader update")) << keys.join(", ").toStdString();
}

TEST_F(UpdateList, TheRemindChoiceIsOnlyOfferedToAutomaticRuns)
{
    for (const char* type : {"Update List", "Stamps"}) {
        startRun(QString("-updater -type \"%1\" -version 12.1.3").arg(type));
        offer("service", "Stamps");
        open().show();
        EXPECT_FALSE(combo()->isVisible()) << type;
        EXPECT_FALSE(dialog->findChild<QPushButton*>("btn_skip")->isVisible());
        EXPECT_TRUE(button("button_cancel")->isVisible());
        EXPECT_EQ(dialog->findChild<QLabel*>("label_version")->text(), "Version: 12.1.3");
        EXPECT_EQ(dialog->windowTitle(), "Download and Install");
    }
}

TEST_F(UpdateList, InstalledComponentsDecideWhatNeedsAnUpdate)
{
    const QString existing = env.root() + "/installed-file";
    IsolatedEnvironment::writeFile(existing, "x");
    _UpdaterInfo noPaths{"NoPaths", "1.0", {}};
    _UpdaterInfo present{"Present", "1.0", {existing, env.root() + "/missing"}};
    _UpdaterInfo gone{"Gone", "1.0", {env.root() + "/missing", existing}};
    QVector<_UpdaterInfo*> installed{&noPaths, &present, &gone};
    QVector<_UpdaterInfo*> none;
    open();
    const struct {
        QVector<_UpdaterInfo*>* list;
        const char* name;
        bool needed;
    } cases[] = {{&none, "Present", false},      {&installed, "Unknown", false}, {&installed, "NoPaths", true},
                 {&installed, "Present", true}, {&installed, "Gone", false},     {&installed, "present", false}};
    for (const auto& c : cases)
        EXPECT_EQ(dialog->IsModuleNeedUpdate(*c.list, c.name), c.needed) << c.name;
}

TEST_F(UpdateList, TheChinaRuleDropsAddOnsThatAreNotInstalledOrInstallSilently)
{
    const QString readerPath = env.root() + "/Reader.app/Contents/MacOS";
    QDir().mkpath(readerPath);
    IsolatedEnvironment::writeFile(QDir::cleanPath(readerPath + "/../Resources/UpdaterInfo.xml"),
                                   "<?xml version=\"1.0\"?><updater_info><component name=\"Stamps\" version=\"1.0\"/>"
                                   "<component name=\"Forms\" version=\"1.0\"/></updater_info>");
    startRun(QString("-updater -type \"Update List\" -version 12.1.3 -readerpath \"%1\"").arg(readerPath));
    offer("service", "Stamps");
    offer("service", "Forms")->SilentInstall = true;
    offer("service", "Sign");
    offer("service", "Cloud")->isInternalService = "TRUE";
    offer("service", "Internal lower")->isInternalService = "true";
    offer("updater", "Reader update");
    m_engine->AddSelModule(m_engine->GetAvailabletModule(2));
    open();

    dialog->CheckZhAutoAvailableModule();
    std::vector<std::string> kept;
    for (int i = 0; i < m_engine->CountAvailableModule(); ++i)
        kept.push_back(m_engine->GetAvailabletModule(i)->title);
    EXPECT_EQ(kept, (std::vector<std::string>{"Stamps", "Cloud", "Reader update"}));
    EXPECT_EQ(m_engine->CountSelModules(), 0) << "a dropped record leaves the selection too";
}

TEST_F(UpdateList, OnlyTheHighestReaderUpdateIsKept)
{
    const struct {
        const char* label;
        std::vector<std::pair<const char*, bool>> updaters; // version, major upgrade
        std::vector<std::string> kept;
    } cases[] = {
        {"older ones dropped", {{"11.2", false}, {"12.1", false}, {"10.0", false}}, {"12.1"}},
        {"a major upgrade keeps all", {{"11.2", false}, {"13.0", true}}, {"11.2", "13.0"}},
        {"one alone", {{"11.2", false}}, {"11.2"}},
        {"equal leading numbers", {{"12.1", false}, {"12.0", false}}, {"12.1", "12.0"}},
    };
    for (const auto& c : cases) {
        startRun();
        for (const auto& [version, major] : c.updaters) {
            MODULEINFO* record = offer("updater", std::string("Reader ") + version);
            record->version = version;
            record->bMajorUpgrade = major;
        }
        open();
        dialog->FilterUpgrade();
        std::vector<std::string> kept;
        for (int i = 0; i < m_engine->CountAvailableModule(); ++i)
            kept.push_back(m_engine->GetAvailabletModule(i)->version);
        EXPECT_EQ(kept, c.kept) << c.label;
    }
}

TEST_F(UpdateList, MutualStatesReachOnlyTheirGroup)
{
    offer("updater", "Reader update");
    offer("service", "Stamps");
    offer("basic", "OCR French", "1B", true);
    open();
    dialog->SetMutexCheckState(E_UPDATE_ADDON, Qt::Checked);
    EXPECT_EQ(item("Stamps")->checkState(), Qt::Checked);
    EXPECT_EQ(item("OCR French")->checkState(), Qt::Checked);
    EXPECT_EQ(item("Reader update")->checkState(), Qt::Unchecked);
    dialog->SetMutexCheckState(E_UPDATE_READER, Qt::Checked);
    EXPECT_EQ(item("Reader update")->checkState(), Qt::Checked);
    dialog->AddModule(m_engine->GetAvailabletModule(1));
    EXPECT_EQ(m_engine->GetSelModule(0)->title, "Stamps");
}

TEST_F(UpdateList, SkippingRecordsTheMajorUpgradeAndEnds)
{
    offer("service", "Stamps");
    MODULEINFO* major = offer("updater", "Reader 13");
    major->bMajorUpgrade = true;
    major->version = "13.0.0.1";
    open().show();
    dialog->OnSkip();
    EXPECT_TRUE(dialog->bFinished);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(PlistFileView::stringAt(readerSettings(),
                                      {"Software.Kelvrin Software.Kelvrin PDF Reader.plugins.Updater.UpdateRejectVersion"}),
              "13.0.0.1");
}

TEST_F(UpdateList, FollowsTheAppearance)
{
    offer("service", "Stamps");
    open();
    auto* banner = dialog->findChild<QLabel*>("label_logo");
    const QImage light = banner->pixmap()->toImage();
    EXPECT_EQ(dialog->styleSheet(), "QDialog{color:rgb(26,26,26);}");
    EXPECT_EQ(banner->pixmap()->size(), QSize(319, 48));

    ASSERT_TRUE(Plist::writeFile(globalPreferencesPath(), QVariantMap{{"AppleInterfaceStyle", "Dark"}}));
    ASSERT_TRUE(QTest::qWaitFor([&] { return dialog->styleSheet() == "QDialog{color:rgb(222,222,222);}"; }, kWaitBoundMs));
    EXPECT_NE(banner->pixmap()->toImage(), light);
    EXPECT_EQ(banner->pixmap()->size(), QSize(319, 48));
}

TEST_F(UpdateList, ASelectionDownloadsAndInstallsThroughTheDownloadList)
{
    ASSERT_TRUE(StandinPrograms::place());
    LocalHttpServer server;
    ASSERT_TRUE(server.start());
    const QByteArray package = VzipFixture()
                                   .file("Setup.xml", "<setup><file name=\"Stamps.pkg\"/></setup>")
                                   .file("Stamps.pkg", "#standin\n")
                                   .package();
    server.setFile("/pkg/stamps.vzip", package);
    MODULEINFO* stamps = offer("service", "Stamps", QString("%1B").arg(package.size()).toStdString());
    stamps->url = server.url("/pkg/stamps.vzip").toString().toStdString();
    offer("service", "Forms");
    open().show();
    m_engine->GetDownloadDlg()->setTimerIntervals(50, 20, 5000);
    m_engine->GetDownloadDlg()->setReaderProbe([] { return false; });
    tick(item("Stamps"));

    bool installed = false;
    whenModalShown([&](QWidget* modal) {
        auto* list = qobject_cast<dlgfound*>(modal);
        ASSERT_NE(list, nullptr);
        auto* statusModel = qobject_cast<QStandardItemModel*>(list->findChild<QTreeView*>("treeView")->model());
        ASSERT_EQ(statusModel->rowCount(), 1);
        EXPECT_EQ(statusModel->item(0, 0)->text(), "Stamps");
        installed = QTest::qWaitFor([&] { return statusModel->item(0, 2)->text().isEmpty(); }, kWaitBoundMs);
        list->findChild<QPushButton*>("btn_close")->click();
    });
    button("button_download")->click();

    EXPECT_TRUE(installed);
    EXPECT_EQ(StandinPrograms::linesWith(StandinPrograms::installerLog(), "end").size(), 1);
    EXPECT_FALSE(m_engine.isNull());
}

} // namespace
