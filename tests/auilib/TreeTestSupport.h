#pragma once

// Shared by the tree view's tests: a shown tree, items by text, and clicks that move the cursor
// first, since the tree reads QCursor::pos() where QTest's clicks do not move it.
#include "PictureBytes.h"
#include "TreeView.h"
#include "TreeViewImpl.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QCursor>
#include <QImage>
#include <QStandardItem>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>
#include <string>

inline QByteArray FilledPicture(QColor colour, const char* format = "PNG", int size = 8)
{
    QImage image(size, size, QImage::Format_RGB32);
    image.fill(colour);
    return PictureBytes::Encoded(image, format);
}

inline const unsigned char* Bytes(const QByteArray& bytes)
{
    return reinterpret_cast<const unsigned char*>(bytes.constData());
}

// QAbstractItemModelTester's complaints, as test failures; its fatal mode would end the program.
class ModelTesterFailures
{
public:
    ModelTesterFailures() { s_previous = qInstallMessageHandler(&Handle); }
    ~ModelTesterFailures() { qInstallMessageHandler(s_previous); }
    ModelTesterFailures(const ModelTesterFailures&) = delete;
    ModelTesterFailures& operator=(const ModelTesterFailures&) = delete;

private:
    static void Handle(QtMsgType type, const QMessageLogContext& context, const QString& message)
    {
        if (message.contains(QLatin1String("FAIL!")))
            ADD_FAILURE() << message.toStdString();
        else if (s_previous)
            s_previous(type, context, message);
    }

    static inline QtMessageHandler s_previous = nullptr;
};

class TreeFixture : public testing::Test
{
protected:
    void SetUp() override
    {
        tree = std::make_unique<AUILib::TreeView>();
        tree->Create(&window);
        view()->setGeometry(0, 0, 300, 300);
        window.resize(320, 320);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    AUILib::TreeViewQt* view() const { return static_cast<AUILib::TreeViewQt*>(tree->GetPlatformHandle()); }
    AUILib::TreeView::impl& impl() const
    {
        return *static_cast<AUILib::TreeView::impl*>(tree->GetBaseImpl().get());
    }
    QWidget* viewport() const { return view()->viewport(); }

    std::string Text(QStandardItem* item) const { return QString::fromStdWString(tree->GetItemText(item)).toStdString(); }

    // The texts of the item's children (of the top level for null), comma separated.
    std::string Children(QStandardItem* parent) const
    {
        std::string texts;
        const int count = parent ? parent->rowCount() : impl().model->rowCount();
        for (int row = 0; row < count; ++row) {
            QStandardItem* child = parent ? parent->child(row) : impl().model->item(row);
            texts += (row ? "," : "") + child->text().toStdString();
        }
        return texts;
    }

    // A click at a point of the item's label, the cursor moved there first.
    void Click(QStandardItem* item, Qt::KeyboardModifiers modifiers = Qt::NoModifier, QPoint offset = {4, 0})
    {
        ClickAt(LabelPoint(item) + offset, modifiers);
    }

    void ClickAt(QPoint point, Qt::KeyboardModifiers modifiers = Qt::NoModifier, Qt::MouseButton button = Qt::LeftButton)
    {
        QCursor::setPos(viewport()->mapToGlobal(point));
        QTest::mouseClick(viewport(), button, modifiers, point);
    }

    QPoint LabelPoint(QStandardItem* item) const
    {
        const QRect rect = view()->visualRect(item->index());
        return {rect.right() - 4, rect.center().y()};
    }

    QWidget window;
    std::unique_ptr<AUILib::TreeView> tree;
};
