#pragma once

// A shown list box with a recorder of its notifications, under Qt's model checker.
#include "ControlTestSupport.h"
#include "ListBox.h"
#include "ListBoxImpl.h"
#include "ListBoxQt.h"

#include <QAbstractItemModelTester>
#include <QCursor>
#include <QTest>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace ListBoxTesting {

inline QtMessageHandler& PreviousHandler()
{
    static QtMessageHandler previous = nullptr;
    return previous;
}

// The model checker's findings become test failures.
inline void FailOnModelWarnings(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (context.category && std::string(context.category) == "qt.modeltest" && type != QtDebugMsg)
        ADD_FAILURE() << message.toStdString();
    else if (PreviousHandler())
        PreviousHandler()(type, context, message);
}

inline std::list<std::wstring> Texts(std::initializer_list<const wchar_t*> texts)
{
    return {texts.begin(), texts.end()};
}

class ListBoxFixture : public testing::Test
{
protected:
    void SetUp() override
    {
        PreviousHandler() = qInstallMessageHandler(FailOnModelWarnings);
        list = std::make_unique<AUILib::ListBox>();
        list->Create(&window);
        table()->setGeometry(0, 0, 300, 200);
        window.resize(320, 220);
        window.show();
        tester = std::make_unique<QAbstractItemModelTester>(table()->model(),
                                                            QAbstractItemModelTester::FailureReportingMode::Warning);
        list->OnItemClicked.Add([this](int row) { Log("clicked", row); });
        list->OnItemChanged.Add([this](int row) { Log("changed", row); });
        list->OnSelectionChanged.Add([this] { log.push_back("selection"); });
        list->OnRowSelectionChanged.Add([this](int row) { Log("row", row); });
        list->OnMultiSelectionBegin.Add([this] { log.push_back("begin"); });
        list->OnMultiSelectionEnd.Add([this] { log.push_back("end"); });
    }

    void TearDown() override
    {
        tester.reset();
        list.reset();
        qInstallMessageHandler(PreviousHandler());
    }

    void Log(const char* what, int row) { log.push_back(std::string(what) + " " + std::to_string(row)); }

    AUILib::ListBoxQt* table() const { return static_cast<AUILib::ListBoxQt*>(list->GetPlatformHandle()); }
    AUILib::ListBoxImpl& impl() const { return static_cast<AUILib::ListBoxImpl&>(*list->GetBaseImpl()); }

    void AddRows(std::initializer_list<const wchar_t*> texts)
    {
        for (const wchar_t* text : texts)
            list->AddItem(text, AUILib::any());
    }

    std::vector<std::wstring> Column(int column = 0) const
    {
        std::vector<std::wstring> texts;
        for (int row = 0; row < list->Count(); ++row)
            texts.push_back(list->GetItem(row, column));
        return texts;
    }

    // QTest's clicks leave the cursor where it was; the list reads it.
    void Click(QPoint point, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QCursor::setPos(table()->viewport()->mapToGlobal(point));
        QTest::mouseClick(table()->viewport(), Qt::LeftButton, modifiers, point);
    }

    QPoint RowCentre(int row, int column = 0) const
    {
        return table()->visualRect(table()->model()->index(row, column)).center();
    }

    QWidget window;
    std::unique_ptr<AUILib::ListBox> list;
    std::unique_ptr<QAbstractItemModelTester> tester;
    std::vector<std::string> log;
};

} // namespace ListBoxTesting
