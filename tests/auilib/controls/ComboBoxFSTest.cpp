#include "ComboBoxFS.h"

#include "IsolatedEnvironment.h"
#include "ModalDriver.h"
#include "ZrTagMRUComboBoxItem_Qt.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QStandardPaths>
#include <QPointer>
#include <QTest>

#include <gtest/gtest.h>

#include <vector>

using namespace AUILib;

namespace {

class ComboBoxFSTest : public IsolatedTest
{
protected:
    void SetUp() override
    {
        // Every well-known folder but the one for films exists.
        for (const char* folder : {"Documents", "Desktop", "Downloads", "Pictures", "Music"})
            QDir().mkpath(env.home() + "/" + folder);
        box = std::make_unique<ComboBoxFS>();
        box->Create(&window);
        widget()->setGeometry(0, 0, 220, 28);
        window.resize(240, 50);
        window.show();
        box->OnSelChanged.Add([this](int index) { selections.push_back(index); });
        box->OnItemActivated.Add([this](int index) { activations.push_back(index); });
    }

    QComboBox* widget() const { return static_cast<QComboBox*>(box->GetPlatformHandle()); }

    QString canonical(const QString& relative) const
    {
        return QFileInfo(env.home() + "/" + relative).canonicalFilePath();
    }

    // Chooses the browse entry as the user would, with the picker answered by `answer`.
    void Browse(std::function<void(QFileDialog*)> answer)
    {
        whenModalShown([answer](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            ASSERT_NE(dialog, nullptr);
            answer(dialog);
        });
        const int browse = widget()->findText(QStringLiteral("<Browse...>"));
        ASSERT_GE(browse, 0);
        widget()->setCurrentIndex(browse);
        emit widget()->activated(browse);
    }

    static void Pick(QFileDialog* dialog, const QString& folder)
    {
        dialog->setDirectory(folder);
        QMetaObject::invokeMethod(dialog, "accept");
    }

    QWidget window;
    std::unique_ptr<ComboBoxFS> box;
    std::vector<int> selections;
    std::vector<int> activations;
};

} // namespace

TEST_F(ComboBoxFSTest, KnownFoldersThenTheBrowseEntry)
{
    EXPECT_EQ(box->GetControlType(), ControlType::ComboBoxFS);
    EXPECT_EQ(box->Count(), 0);
    box->InitComboBoxFS();
    ASSERT_EQ(box->Count(), 7);
    const std::pair<QStandardPaths::StandardLocation, QString> known[] = {
        {QStandardPaths::DocumentsLocation, canonical("Documents")},
        {QStandardPaths::DesktopLocation, canonical("Desktop")},
        {QStandardPaths::DownloadLocation, canonical("Downloads")},
        {QStandardPaths::PicturesLocation, canonical("Pictures")},
        {QStandardPaths::MusicLocation, canonical("Music")},
        {QStandardPaths::MoviesLocation, QString()},
    };
    for (int index = 0; index < 6; ++index) {
        ComboBoxFS::FSData entry;
        ASSERT_TRUE(box->GetSearchFolderItem(entry, index));
        const QString name = QStandardPaths::displayName(known[index].first);
        EXPECT_EQ(widget()->itemText(index), name);
        EXPECT_EQ(entry.type, ComboBoxFS::KnownFolder);
        EXPECT_EQ(QString::fromStdWString(entry.path), known[index].second) << "a missing folder has no path";
        EXPECT_EQ(QString::fromStdWString(entry.name), name);
        EXPECT_EQ(widget()->itemIcon(index).isNull(), known[index].second.isEmpty());
    }
    ComboBoxFS::FSData browse;
    ASSERT_TRUE(box->GetSearchFolderItem(browse, 6));
    EXPECT_EQ(browse.type, ComboBoxFS::BrowseEntry);
    EXPECT_EQ(browse.path, L"<Browse...>");
    EXPECT_TRUE(widget()->itemIcon(6).isNull());

    ComboBoxFS::FSData current;
    ASSERT_TRUE(box->GetCurSearchFolderItem(current));
    EXPECT_EQ(QString::fromStdWString(current.path), canonical("Documents"));
    EXPECT_EQ(selections.front(), 0) << "filling the list reports the selection";
    EXPECT_GE(widget()->view()->minimumWidth(), widget()->sizeHint().width());
}

TEST_F(ComboBoxFSTest, EntriesOnlyForFoldersThatExist)
{
    ComboBoxFS::FSData missing;
    missing.path = (env.home() + "/none").toStdWString();
    EXPECT_EQ(box->AddSearchFolderItem(L"none", missing), -1);
    EXPECT_EQ(box->InsertSearchFolderItem(0, L"none", missing), -1);
    EXPECT_EQ(box->Count(), 0);
    ComboBoxFS::FSData music;
    music.path = canonical("Music").toStdWString();
    music.value = 9;
    EXPECT_EQ(box->AddSearchFolderItem(L"Music", music), 0);
    EXPECT_EQ(box->InsertSearchFolderItem(0, L"Again", music), 0);
    ComboBoxFS::FSData read;
    ASSERT_TRUE(box->GetSearchFolderItem(read, 1));
    EXPECT_EQ(read.value, 9);
    EXPECT_FALSE(box->GetSearchFolderItem(read, 5));
    EXPECT_STREQ(QMetaType::typeName(qMetaTypeId<ZrLPMRUComboBoxItem_Qt>()), "ZrLPMRUComboBoxItem_Qt");
    EXPECT_EQ(widget()->itemData(0).userType(), qMetaTypeId<ZrLPMRUComboBoxItem_Qt>());
}

TEST_F(ComboBoxFSTest, CancellingThePickerReturnsToThePreviousEntry)
{
    box->InitComboBoxFS();
    box->SetCurSel(2);
    activations.clear();
    Browse([](QFileDialog* dialog) { dialog->reject(); });
    EXPECT_EQ(widget()->currentIndex(), 2);
    EXPECT_EQ(activations, std::vector<int>{2});
    EXPECT_EQ(box->Count(), 7);
}

TEST_F(ComboBoxFSTest, APickedFolderIsAddedOnceAndGoesWhenDeleted)
{
    box->InitComboBoxFS();
    QDir().mkpath(env.home() + "/Projects");
    const QString projects = canonical("Projects");
    Browse([projects](QFileDialog* dialog) { Pick(dialog, projects); });
    ASSERT_EQ(box->Count(), 8);
    EXPECT_EQ(widget()->currentIndex(), 7);
    EXPECT_EQ(widget()->itemText(7), projects);
    ComboBoxFS::FSData picked;
    ASSERT_TRUE(box->GetCurSearchFolderItem(picked));
    EXPECT_EQ(picked.type, ComboBoxFS::PickedFolder);
    EXPECT_EQ(picked.value, 1);
    EXPECT_EQ(activations, std::vector<int>{7});

    box->SetCurSel(0);
    Browse([projects](QFileDialog* dialog) { Pick(dialog, projects); });
    EXPECT_EQ(box->Count(), 8) << "a folder already listed is selected, not added";
    EXPECT_EQ(widget()->currentIndex(), 7);

    box->SetCurSel(0);
    ASSERT_TRUE(QDir(projects).removeRecursively());
    QTest::mousePress(widget(), Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    widget()->hidePopup();
    EXPECT_EQ(box->Count(), 7) << "the folder that went is dropped; the browse entry and the pathless entry stay";
    EXPECT_EQ(widget()->findText(projects), -1);
    EXPECT_GE(widget()->findText(QStringLiteral("<Browse...>")), 0);
}

TEST_F(ComboBoxFSTest, TheWidgetOutlivesItsControl)
{
    box->InitComboBoxFS();
    QDir().mkpath(env.home() + "/Gone");
    ComboBoxFS::FSData gone;
    gone.path = canonical("Gone").toStdWString();
    box->AddSearchFolderItem(L"Gone", gone);
    QDir(env.home() + "/Gone").removeRecursively();
    QPointer<QComboBox> kept = widget();
    box.reset();
    ASSERT_TRUE(kept);
    QTest::mousePress(kept, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    kept->hidePopup();
    EXPECT_EQ(kept->count(), 8) << "a plain combo box prunes nothing";
    EXPECT_FALSE(kept->itemData(7).isValid()) << "no record left behind";
    kept->clear();
}
