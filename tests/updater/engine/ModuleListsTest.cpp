#include "EngineRun.h"

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

TEST_F(ModuleLists, SilentAndReaderUpdateQuestionsNeedAnAvailableRecord)
{
    EXPECT_FALSE(m_engine->isSilentUpdate());
    EXPECT_FALSE(m_engine->CheckVersionUpdate());
    EXPECT_TRUE(m_engine->DeleteKelvrinCloud());
}

} // namespace
