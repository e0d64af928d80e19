#include "EngineRun.h"

#include "engine/DlgDownload.h"

#include <QCoreApplication>
#include <QPointer>
#include <QSignalSpy>

namespace {

class ModuleLists : public EngineRun
{
protected:
    // Puts one record per name into the available list, in order.
    void offer(std::initializer_list<const char*> names)
    {
        for (const char* name : names) {
            MODULEINFO source;
            source.name = name;
            m_engine->CloneAvailableModuleInfo(&source);
        }
    }

    std::vector<std::string> availableNames()
    {
        std::vector<std::string> names;
        for (int i = 0; i < m_engine->CountAvailableModule(); ++i)
            names.push_back(m_engine->GetAvailabletModule(i)->name);
        return names;
    }

    void SetUp() override { engine(); }
};

using Names = std::vector<std::string>;

TEST_F(ModuleLists, PatchIsDroppedOnlyBesideAnUpdater)
{
    const struct {
        std::initializer_list<const char*> offered;
        Names kept;
    } cases[] = {{{"Updater", "Patch", "Patch 2"}, {"Updater", "Patch"}},
                 {{"Patch", "Reader Updater"}, {"Reader Updater"}},
                 {{"Patch", "Patch 2"}, {"Patch", "Patch 2"}},
                 {{"UpdaterPatch"}, {}},
                 {{"patch", "Updater"}, {"patch", "Updater"}}};
    for (const auto& c : cases) {
        engine();
        offer(c.offered);
        EXPECT_TRUE(m_engine->DeletePatchUpdate());
        EXPECT_EQ(availableNames(), c.kept);
    }
}

TEST_F(ModuleLists, FreeingARecordTakesItOutOfEveryList)
{
    offer({"Updater", "Patch"});
    MODULEINFO* patch = m_engine->GetAvailabletModule(1);
    m_engine->AddSelModule(patch);
    m_engine->AddSelModule(m_engine->GetAvailabletModule(0));
    m_engine->SetCurDownloadModuleInfo(patch);

    m_engine->DeletePatchUpdate();
    EXPECT_EQ(m_engine->CountSelModules(), 1);
    EXPECT_EQ(m_engine->GetSelModule(0)->name, "Updater");
    EXPECT_EQ(m_engine->GetCurDownloadModule(), nullptr);

    m_engine->SetCurDownloadModuleInfo(m_engine->GetAvailabletModule(0));
    m_engine->RemoveAvailableModule(0);
    EXPECT_EQ(m_engine->CountAvailableModule(), 0);
    EXPECT_EQ(m_engine->CountSelModules(), 0);
    EXPECT_EQ(m_engine->GetCurDownloadModule(), nullptr);
}

TEST_F(ModuleLists, PositionsOutsideTheListsChangeNothing)
{
    offer({"A", "B"});
    m_engine->RemoveAvailableModule(2);
    m_engine->RemoveAvailableModule(-1);
    EXPECT_EQ(availableNames(), (Names{"A", "B"}));
    EXPECT_EQ(m_engine->GetAvailabletModule(2), nullptr);
    m_engine->AddSelModule(m_engine->GetAvailabletModule(0));
    EXPECT_EQ(m_engine->GetSelModule(-1), nullptr);
    EXPECT_EQ(m_engine->GetSelModule(1), nullptr);
}

TEST_F(ModuleLists, SelectionByTextTakesTheFirstNameThatContainsTheTrimmedText)
{
    offer({"Reader", "OCR_Basic", "OCR_Pro"});
    m_engine->AddSelModule("  OCR_ \t");
    m_engine->AddSelModule("Stamp");
    ASSERT_EQ(m_engine->CountSelModules(), 1);
    EXPECT_EQ(m_engine->GetSelModule(0)->name, "OCR_Basic");
    m_engine->AddSelModule("ocr_pro");
    EXPECT_EQ(m_engine->CountSelModules(), 1) << "names compare case-sensitively";
}

TEST_F(ModuleLists, CloneCarriesTheListedFieldsOnly)
{
    MODULEINFO source;
    source.addon = "Update List";
    source.name = "OCR";
    source.version = "2.0";
    source.regkey = "key";
    source.result = true;
    source.selected = true;
    source.title = "OCR pack";
    source.extraInfo = "extra";
    source.is_push = true;
    source.md5 = "abc";
    source.SilentInstall = true;
    source.update_mode = 2;
    source.forcedUpgrade = true;
    EXPECT_EQ(m_engine->CloneAvailableModuleInfo(nullptr), nullptr);
    MODULEINFO* clone = m_engine->CloneAvailableModuleInfo(&source);
    ASSERT_NE(clone, &source);
    EXPECT_EQ(clone->addon, "Update List");
    EXPECT_EQ(clone->regkey, "key");
    EXPECT_TRUE(clone->result && clone->selected && clone->is_push);
    EXPECT_EQ(clone->title, "OCR pack");
    EXPECT_EQ(clone->extraInfo, "extra");
    EXPECT_EQ(clone->md5, "");
    EXPECT_FALSE(clone->SilentInstall || clone->forcedUpgrade);
    EXPECT_EQ(clone->update_mode, 0);
    EXPECT_EQ(m_engine->GetAvailabletModule(0), clone);
}

TEST_F(ModuleLists, ReleaseFreesRecordsHeldBySeveralListsOnce)
{
    MODULEINFO* made = m_engine->AddModule("Update List");
    EXPECT_EQ(made->addon, "Update List");
    offer({"A", "B"});
    m_engine->AddSelModule(m_engine->GetAvailabletModule(0));
    m_engine->AddSelModule(made);
    m_engine->SetCurDownloadModuleInfo(made);
    m_engine->ReleaseModuleInfo();
    EXPECT_EQ(m_engine->CountAvailableModule(), 0);
    EXPECT_EQ(m_engine->CountSelModules(), 0);
    EXPECT_EQ(m_engine->GetCurDownloadModule(), nullptr);
    offer({"C"});
    m_engine->AddSelModule(m_engine->GetAvailabletModule(0));
}

TEST_F(ModuleLists, WalkingTheSelection)
{
    offer({"A", "B", "C", "unselected"});
    MODULEINFO* a = m_engine->GetAvailabletModule(0);
    MODULEINFO* b = m_engine->GetAvailabletModule(1);
    MODULEINFO* c = m_engine->GetAvailabletModule(2);
    MODULEINFO* unselected = m_engine->GetAvailabletModule(3);
    EXPECT_EQ(m_engine->GetNextSelModule(nullptr), nullptr) << "empty selection";
    EXPECT_EQ(m_engine->GetNextSelModule(a), nullptr) << "empty selection";
    for (MODULEINFO* record : {a, b, c})
        m_engine->AddSelModule(record);

    const struct {
        const char* label;
        MODULEINFO const* record;
        MODULEINFO* next;
        int index;
    } cases[] = {
        {"null", nullptr, a, -1},
        {"an unselected record", unselected, a, -1},
        {"the first", a, b, 0},
        {"the middle", b, c, 1},
        {"the last", c, nullptr, 2},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(m_engine->GetNextSelModule(c.record), c.next) << c.label;
        EXPECT_EQ(m_engine->GetModuleSelIndex(c.record), c.index) << c.label;
    }
    EXPECT_EQ(m_engine->GetSelModule(m_engine->CountSelModules()), nullptr);
}

TEST_F(ModuleLists, TheLastSelectedRecordOfANameBecomesTheCurrentDownload)
{
    offer({"OCR", "Reader", "OCR", "OCR"});
    MODULEINFO* second = m_engine->GetAvailabletModule(2);
    for (int i : {0, 1, 2})
        m_engine->AddSelModule(m_engine->GetAvailabletModule(i));

    m_engine->Slot_SetCurrentDownloadModule("OCR");
    EXPECT_EQ(m_engine->GetCurDownloadModule(), second) << "the unselected fourth plays no part";
    m_engine->Slot_SetCurrentDownloadModule("ocr");
    m_engine->Slot_SetCurrentDownloadModule("OCR ");
    EXPECT_EQ(m_engine->GetCurDownloadModule(), second) << "no match leaves the current download";
}

TEST_F(ModuleLists, TheWorkersReportsAreRelayedAsTheEnginesSignals)
{
    offer({"OCR", "Reader"});
    m_engine->AddSelModule(m_engine->GetAvailabletModule(0));
    m_engine->AddSelModule(m_engine->GetAvailabletModule(1));
    QSignalSpy download(m_engine.get(), SIGNAL(sSendDownloadProgress(QString, double)));
    QSignalSpy install(m_engine.get(), SIGNAL(sSendInstallProgress(QString, int)));
    QSignalSpy package(m_engine.get(), SIGNAL(sSendInstallPkg(QString)));
    DlgDownload* worker = m_engine->GetDownloadDlg();
    ASSERT_NE(worker, nullptr);
    EXPECT_FALSE(worker->isVisible());

    emit worker->SignalCurrentProgress("OCR pack", 99.7);
    emit worker->SignalInstallProgress("OCR pack", -1);
    emit worker->SignalStartInstall("/data/OCR.vzip");
    emit worker->SignalSetCurrentDownloadModule("Reader");

    ASSERT_EQ(download.size(), 1);
    EXPECT_EQ(download[0][0].toString(), "OCR pack");
    EXPECT_DOUBLE_EQ(download[0][1].toDouble(), 99.7);
    ASSERT_EQ(install.size(), 1);
    EXPECT_EQ(install[0][1].toInt(), -1);
    ASSERT_EQ(package.size(), 1);
    EXPECT_EQ(package[0][0].toString(), "/data/OCR.vzip");
    EXPECT_EQ(m_engine->GetCurDownloadModule(), m_engine->GetAvailabletModule(1));
}

TEST_F(ModuleLists, TheWorkerGoesWithTheEngine)
{
    QPointer<DlgDownload> worker = m_engine->GetDownloadDlg();
    m_engine.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(worker.isNull());
}

TEST_F(ModuleLists, DownloadsNeedAFirstRecordAndNoStopFlag)
{
    offer({"OCR"});
    m_engine->AddSelModule(m_engine->GetAvailabletModule(0));
    QSignalSpy started(m_engine->GetDownloadDlg(), SIGNAL(SignalSetCurrentDownloadModule(QString)));
    m_engine->Download(nullptr);
    EXPECT_EQ(started.size(), 0);
    EXPECT_TRUE(m_engine->stopDownload());
    EXPECT_TRUE(m_engine->QueryStopDownload());
}

TEST_F(ModuleLists, TheDownloadListRunsThroughTheRun)
{
    EXPECT_TRUE(m_engine->ModuleCallback("Update List", m_engine.get(), true));
    EXPECT_EQ(m_run->shownTitle, "Update List");
    EXPECT_TRUE(m_run->shownFlag);
    EXPECT_EQ(m_run->shownEngine, m_engine.get());
}

TEST_F(ModuleLists, KeyedDigestMatchesTheReferenceVectors)
{
    const struct {
        QByteArray key;
        QByteArray message;
        const char* digest;
    } cases[] = {
        {QByteArray(16, '\x0b'), "Hi There", "9294727a3638bb1c13f48ef8158bfc9d"},
        {"Jefe", "what do ya want for nothing?", "750c783e6ab0b503eaa86e310a5db738"},
        {QByteArray(16, '\xaa'), QByteArray(50, '\xdd'), "56be34521d144c88dbb8c733f0e8b3f6"},
        {QByteArray::fromHex("0102030405060708090a0b0c0d0e0f10111213141516171819"), QByteArray(50, '\xcd'),
         "697eaf0aca3a3aea3a75164746ffaa79"},
        {QByteArray(16, '\x0c'), "Test With Truncation", "56461ef2342edc00f9bab995690efd4c"},
        {QByteArray(80, '\xaa'), "Test Using Larger Than Block-Size Key - Hash Key First",
         "6b1ab7fe4bd7bf8f0b62e6ce61b9d0cd"},
        {QByteArray(80, '\xaa'), "Test Using Larger Than Block-Size Key and Larger Than One Block-Size Data",
         "6f630fad67cda0ee1fb1f562db3aa53e"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(m_engine->HMac(c.key, c.message).toStdString(), c.digest) << c.message.toStdString();
}

TEST_F(ModuleLists, TheLanguageCodeComesFromTheLanguageTable)
{
    const struct {
        int language;
        const char* code;
    } cases[] = {{31, "en-US"}, {25, "zh-CN"}, {42, "de-DE"}, {59, "ja-JP"}, {0, "en-US"}, {9999, "en-US"}};
    for (const auto& c : cases) {
        m_engine->setLangParm(c.language, 0);
        EXPECT_EQ(m_engine->GetLocalLangName().toStdString(), c.code) << c.language;
    }
}

TEST_F(ModuleLists, SilentAndReaderUpdateQuestionsNeedAnAvailableRecord)
{
    EXPECT_FALSE(m_engine->isSilentUpdate());
    EXPECT_FALSE(m_engine->CheckVersionUpdate());
    EXPECT_TRUE(m_engine->DeleteKelvrinCloud());
}

} // namespace
