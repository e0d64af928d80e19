#include "AuiDownloadInstallDlg.h"

#include "Button.h"
#include "Edit.h"
#include "FormDialogFixture.h"
#include "Label.h"
#include "TreeTestSupport.h"
#include "TreeView.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTranslator>

#include <gtest/gtest.h>

#include <memory>

namespace {

class DownloadInstallDialogTest : public FormDialogTest
{
protected:
    // The fixture form with `from` replaced by `to`, placed as an enciphered form.
    std::wstring PlaceVariant(const char* name, const QByteArray& from = {}, const QByteArray& to = {})
    {
        QByteArray form = Fixture("downloadinstall.ui");
        if (!from.isEmpty())
            form.replace(from, to);
        return Place(QStringLiteral("auiresources/forms/ui/%1.ui.zr").arg(name), form, true).toStdWString();
    }
};

} // namespace

TEST_F(DownloadInstallDialogTest, FindsItsNineControlsAndSetsTheTitleWhenShown)
{
    const QString qm = Path(QStringLiteral("downloadinstall_de.qm"));
    QProcess lrelease;
    lrelease.start(KELVRIN_LRELEASE, {QStringLiteral("-silent"), QStringLiteral(AUILIB_TEST_DATA_DIR "/downloadinstall_de.ts"),
                                      QStringLiteral("-qm"), qm});
    ASSERT_TRUE(lrelease.waitForFinished(30000));
    ASSERT_EQ(lrelease.exitCode(), 0);
    QTranslator translator;
    ASSERT_TRUE(translator.load(qm));
    QCoreApplication::installTranslator(&translator);

    CAuiDownloadInstallDlg dialog(PlaceVariant("downloadinstall"), nullptr);
    EXPECT_EQ(dialog.Title(), nullptr) << "set up when shown, not when built";
    dialog.DoModeless(false);
    QCoreApplication::removeTranslator(&translator);

    ASSERT_NE(dialog.Title(), nullptr);
    EXPECT_EQ(dialog.Title()->GetText(), L"Kelvrin PDF-Leser");
    ASSERT_NE(dialog.Version(), nullptr);
    EXPECT_EQ(dialog.Version()->GetText(), L"");
    for (const AUILib::BaseGUIObject* control :
         std::initializer_list<const AUILib::BaseGUIObject*>{dialog.CloseButton(), dialog.DownloadButton(), dialog.Picture(),
                                                             dialog.UpdatesDescription(), dialog.Description(),
                                                             dialog.TextField(), dialog.UpdateTree()})
        EXPECT_NE(control, nullptr);
    EXPECT_EQ(dialog.CloseButton()->GetName(), L"btn_close");
    EXPECT_EQ(dialog.UpdateTree()->GetName(), L"treeView");
    EXPECT_EQ(dialog.Description()->GetText(), L"New versions of the reader and its add-ons are ready.")
        << "no other control is given a text";
    EXPECT_EQ(dialog.UpdateTree()->Count(), 0);
    dialog.Show(false, true);
}

TEST_F(DownloadInstallDialogTest, ControlsOfAnotherKindOrMissingStayNull)
{
    CAuiDownloadInstallDlg table(PlaceVariant("table", "class=\"QTreeView\"", "class=\"QTableWidget\""), nullptr);
    table.DoModeless(false);
    EXPECT_EQ(table.UpdateTree(), nullptr);
    EXPECT_NE(table.CloseButton(), nullptr);
    EXPECT_EQ(table.Title()->GetText(), L"Kelvrin PDF Reader");
    table.Show(false, true);

    CAuiDownloadInstallDlg label(PlaceVariant("label", "class=\"QTreeView\" name=\"treeView\"/>",
                                              "class=\"QLabel\" name=\"treeView\"/>"),
                                 nullptr);
    label.DoModeless(false);
    EXPECT_EQ(label.UpdateTree(), nullptr);
    label.Show(false, true);

    CAuiDownloadInstallDlg missing(PlaceVariant("missing", "name=\"lbl_title\"", "name=\"lbl_other\""), nullptr);
    missing.DoModeless(false);
    EXPECT_EQ(missing.Title(), nullptr);
    EXPECT_NE(missing.Version(), nullptr);
    EXPECT_TRUE(missing.InitializeControls());
    missing.Show(false, true);
}

TEST_F(DownloadInstallDialogTest, TheFormsTreeWorksUnderTheModelTester)
{
    ModelTesterFailures failures;
    CAuiDownloadInstallDlg dialog(PlaceVariant("downloadinstall"), nullptr);
    dialog.DoModeless(false);
    AUILib::TreeView* tree = dialog.UpdateTree();
    ASSERT_NE(tree, nullptr);
    auto& impl = *static_cast<AUILib::TreeView::impl*>(tree->GetBaseImpl().get());
    {
        QAbstractItemModelTester tester(impl.model, QAbstractItemModelTester::FailureReportingMode::Warning);
        QStandardItem* reader = tree->AddItem(L"Reader", AUILib::any(1L));
        QStandardItem* ocr = tree->AddItem(L"OCR", AUILib::any(2L));
        tree->AddSubItem(L"Fixes", AUILib::any(), reader);
        tree->SetCheckMode(1);
        tree->SetCheck(ocr, true);
        tree->SelectItem(reader, true);
        EXPECT_TRUE(tree->IsSelectedItem(reader));
        AUILib::Edit* editor = tree->EditLabel(ocr);
        ASSERT_NE(editor, nullptr);
        editor->SetText(L"OCR add-on");
        tree->EndEditLabel(true);
        EXPECT_EQ(tree->GetItemText(ocr), L"OCR add-on");
        EXPECT_TRUE(static_cast<AUILib::TreeViewQt*>(tree->GetPlatformHandle())->MoveItems({ocr}, reader, true));
        EXPECT_EQ(tree->ChildCount(reader, false), 2);
    }
    int destroyed = 0;
    tree->OnDestroyed.Add([&](AUILib::BaseGUIObject*) { ++destroyed; });
    tree->SetVirtualMode(true);
    QAbstractItemModelTester tester(impl.treeModel, QAbstractItemModelTester::FailureReportingMode::Warning);
    std::wstring text = L"node";
    AUILib::VirtTreeItem* node = tree->AddVirtualTreeItem(text, nullptr, AUILib::any());
    tree->AddVirtualTreeItem(text, node, AUILib::any());
    tree->UpdateVirtualView();
    tree->EnableVirtualItemCheckboxes(true);
    tree->SetCheckAllVirtualItems(true);
    EXPECT_TRUE(tree->IsCheckedAllVirtualItems());
    dialog.Show(false, true);
    delete tree->GetPlatformHandle();
    EXPECT_EQ(destroyed, 1) << "the form's report of a destroyed control survives the switch";
}
