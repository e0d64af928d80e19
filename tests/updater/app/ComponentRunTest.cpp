#include "IsolatedEnvironment.h"
#include "LocalHttpServer.h"
#include "app/UpdaterApp.h"
#include "engine/CReaderModuleManager.h"
#include "engine/CSetup_CommandLine.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

const QString kServicePath = QStringLiteral("/svc/check");
const QString kUnavailable =
    QStringLiteral("Unable to get this component pack. Please check if they are ready for this version.");

// Plays the user through a component run: answers the component question, notes every message
// box and what the download list was opened with, and closes each window.
class ComponentUser
{
public:
    explicit ComponentUser(bool acceptComponents) : m_accept(acceptComponents)
    {
        QObject::connect(&m_timer, &QTimer::timeout, [this] { act(); });
        m_timer.start(10);
    }

    QStringList boxes;
    QStringList downloadListSelection; // empty when the download list never opened
    bool downloadListShown = false;

private:
    void act()
    {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal)
            return;
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            boxes.append(box->text());
            box->button(QMessageBox::Ok)->click();
        } else if (modal->objectName() == "DlgComponentFound") {
            const auto answer = m_accept ? QDialogButtonBox::Yes : QDialogButtonBox::No;
            modal->findChild<QDialogButtonBox*>()->button(answer)->click();
        } else if (modal->inherits("dlgfound")) {
            downloadListShown = true;
            for (int i = 0; i < theApp->engine()->CountSelModules(); ++i)
                downloadListSelection.append(QString::fromStdString(theApp->engine()->GetSelModule(i)->name));
            static_cast<QDialog*>(modal)->reject();
        }
    }

    bool m_accept;
    QTimer m_timer;
};

struct ComponentCase {
    const char* name;
    const char* components;
    bool accept;
    const char* reply; // null: the service never answers
    int status;
    QStringList selection;
    bool warned;
};

class ComponentRun : public IsolatedTest, public testing::WithParamInterface<ComponentCase>
{
};

TEST_P(ComponentRun, EveryWayOutEndsTheRun)
{
    const ComponentCase& c = GetParam();
    LocalHttpServer server;
    ASSERT_TRUE(server.start());
    HttpRoute route;
    route.body = c.reply ? QByteArray(c.reply) : QByteArray();
    route.status = c.status;
    route.neverAnswer = !c.reply;
    server.setRoute(kServicePath, route);

    CSetup_CommandLine commandLine;
    ASSERT_TRUE(commandLine.ProcessCmdLine(QString("-updater -type \"%1\" -version 12.1.0.3 -InternalUpdateURL %2")
                                               .arg(c.components, server.url(kServicePath).toString())));
    UpdaterApp app(&commandLine, nullptr);
    theApp = &app;
    app.setComponentQueryBound(200);
    ComponentUser user(c.accept);

    app.runUpdateVisible(31, 225);

    EXPECT_TRUE(app.bRunFinished);
    EXPECT_EQ(user.downloadListSelection, c.selection);
    EXPECT_EQ(user.downloadListShown, !c.selection.isEmpty());
    ASSERT_EQ(!user.boxes.isEmpty(), c.warned) << user.boxes.join(" | ").toStdString();
    if (c.warned) {
        EXPECT_EQ(user.boxes.last(), kUnavailable);
    }
    EXPECT_EQ(server.requests().isEmpty(), !c.accept);
    theApp = nullptr;
}

const char* const kOcrAndDictionary = "<modules><module name=\"OCR\" version=\"2\" result=\"true\"/>"
                                      "<module name=\"Dictionary\" version=\"3\" result=\"true\"/>"
                                      "<module name=\"Spelling\" version=\"1\" result=\"true\"/></modules>";

INSTANTIATE_TEST_SUITE_P(
    Answers, ComponentRun,
    testing::Values(ComponentCase{"Declined", "OCR", false, kOcrAndDictionary, 200, {}, false},
                    ComponentCase{"OneName", "OCR", true, kOcrAndDictionary, 200, {"OCR"}, false},
                    ComponentCase{"ListWithAnEmptyEntry", "Dictionary,,OCR", true, kOcrAndDictionary, 200,
                                  {"Dictionary", "OCR"}, false},
                    ComponentCase{"NothingAvailable", "OCR", true, "<modules></modules>", 200, {}, true},
                    ComponentCase{"NothingMatching", "Viewer", true, kOcrAndDictionary, 200, {}, true},
                    ComponentCase{"FailedQuery", "OCR", true, "", 404, {}, true},
                    ComponentCase{"ServiceNeverAnswers", "OCR", true, nullptr, 200, {}, true}),
    [](const testing::TestParamInfo<ComponentCase>& info) { return info.param.name; });

} // namespace
