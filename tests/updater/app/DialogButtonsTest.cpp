#include "DialogRun.h"
#include "app/ApplicationStyleSheet.h"
#include "app/CDlgComponentFound.h"
#include "app/CDlg_MajorUpdate.h"
#include "app/DlgAutoUpdate.h"
#include "engine/DlgMessage.h"
#include "app/DlgUpdateChecking.h"
#include "app/DlgUpdatesTree.h"
#include "app/dlgAcCertain.h"
#include "app/dlgForceAutoUpdate.h"
#include "app/dlgfound.h"
#include "engine/DlgDownload.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

// Start-up gives every button the system's own height rule and the application a 12-pixel font;
// the rule alone would squash the buttons to a few pixels.
class DialogButtons : public DialogRun
{
protected:
    void SetUp() override
    {
        m_sheet = qApp->styleSheet();
        m_font = QApplication::font();
        qApp->setStyleSheet(kApplicationStyleSheet);
        QFont font;
        font.setPixelSize(12);
        QApplication::setFont(font);
        startRun();
        offer("service", "OCR Add-on");
    }

    void TearDown() override
    {
        qApp->setStyleSheet(m_sheet);
        QApplication::setFont(m_font);
    }

    QString m_sheet;
    QFont m_font;
};

// Text, a frame and a little room around it.
void expectButtonsFitTheirTexts(QWidget& dialog)
{
    dialog.show();
    QCoreApplication::processEvents();
    int checked = 0;
    for (const QPushButton* button : dialog.findChildren<QPushButton*>()) {
        if (!button->isVisible())
            continue;
        ++checked;
        const QFontMetrics metrics = button->fontMetrics();
        const QRect onDialog(button->mapTo(&dialog, QPoint(0, 0)), button->size());
        SCOPED_TRACE(button->text().toStdString());
        EXPECT_GE(button->height(), metrics.height() + 6);
        EXPECT_GT(button->width(), metrics.horizontalAdvance(button->text()));
        EXPECT_TRUE(dialog.rect().contains(onDialog)) << "the button lies outside its window";
    }
    EXPECT_GT(checked, 0);
}

TEST_F(DialogButtons, EveryButtonFitsItsTextUnderTheSystemSheet)
{
    ComponentInfo component{"Kelvrin PDF Reader", "12.1.3", "OCR_ru_ru", "en-US", "Business"};
    const std::vector<std::pair<const char*, std::function<std::unique_ptr<QWidget>()>>> dialogs = {
        {"DlgUpdatesTree", [&] { return std::make_unique<DlgUpdatesTree>(m_engine, m_app.get(), nullptr); }},
        {"dlgfound",
         [&] { return std::make_unique<dlgfound>("Update List", false, false, false, false, m_engine, nullptr); }},
        {"DlgUpdateChecking", [] { return std::make_unique<DlgUpdateChecking>("Update List", nullptr); }},
        {"DlgMessage",
         [] {
             auto message = std::make_unique<DlgMessage>(nullptr);
             message->setOkButtonText("Retry");
             return message;
         }},
        {"CDlgComponentFound", [&] { return std::make_unique<CDlgComponentFound>(component, nullptr); }},
        {"dlgForceAutoUpdate", [&] { return std::make_unique<dlgForceAutoUpdate>(m_engine, nullptr); }},
        {"dlgAcCertain", [] { return std::make_unique<dlgAcCertain>(nullptr); }},
        {"DlgAutoUpdate", [] { return std::make_unique<DlgAutoUpdate>(nullptr); }},
        {"CDlg_MajorUpdate", [] { return std::make_unique<CDlg_MajorUpdate>(nullptr); }},
        {"DlgDownload", [] { return std::make_unique<DlgDownload>(nullptr); }},
        {"QMessageBox",
         [] {
             return std::make_unique<QMessageBox>(QMessageBox::Warning, "Kelvrin PDF Reader Updater",
                                                  "Failed to extract the downloaded package. Please try again.",
                                                  QMessageBox::Ok);
         }},
    };
    for (const auto& [name, make] : dialogs) {
        SCOPED_TRACE(name);
        std::unique_ptr<QWidget> dialog = make();
        expectButtonsFitTheirTexts(*dialog);
    }
}

} // namespace
