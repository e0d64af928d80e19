#include "DebugLog.h"
#include "ReadableXmlVariants.h"
#include "ReplyFixture.h"
#include "engine/CRegister.h"

namespace {

using Names = std::vector<std::string>;

const QByteArray kInstalled = "<?xml version=\"1.0\"?><updater_info>"
                              "<component name=\"OCR\" version=\"2.0\"/>"
                              "<component name=\"Stamp\" version=\"1.0\"/>"
                              "<component name=\"Forms\" version=\"3.0\"/>"
                              "</updater_info>";

QByteArray module(const char* attributes)
{
    return QByteArray("<module ") + attributes + "/>";
}

QByteArray reply(std::initializer_list<const char*> modules, const char* rootAttributes = "")
{
    QByteArray xml = QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<modules ") + rootAttributes + ">\n";
    for (const char* attributes : modules)
        xml += "  " + module(attributes) + "\n";
    return xml + "</modules>\n";
}

TEST_F(ReplyParsing, AttributesFillTheRecordByName)
{
    parse(reply({"name=\"OCR_Pack\" title=\"OCR &amp; more\" version=\"2.1\" size=\"12 MB\" description=\"Texte \xc3\xa9t\xc3\xa9\" "
                 "regkey=\"rk\" level=\"3\" module_type=\"service\" parent=\"Reader\" isInternalService=\"no\" "
                 "releaseDate=\"2026/01/02\" md5=\"abc\" upgTipBtn=\"b\" upgTipTitle=\"t\" upgTipContent=\"c\" "
                 "url=\"https://h.example/p/OCR_Pack.vzip\" result=\"True\" plugin=\"TRUE\" isnew=\"false\" "
                 "iscommon=\"no\" forcedUpgrade=\"tRUE\" SilentInstall=\"true\" autoCheck=\"True\" pushUpdateTip=\"yes\" "
                 "update_mode=\"2\" DurnisPDFStandard=\"\" Name=\"ignored\" unknown=\"x\" extraInfo=\"x\""}));
    ASSERT_EQ(availableNames(), Names{"OCR_Pack"});
    const MODULEINFO& r = *m_engine->GetAvailabletModule(0);
    EXPECT_EQ(r.addon, "Update List");
    EXPECT_EQ(r.title, "OCR & more");
    EXPECT_EQ(r.version, "2.1");
    EXPECT_EQ(r.size, "12 MB");
    EXPECT_EQ(r.description, "Texte \xc3\xa9t\xc3\xa9");
    EXPECT_EQ(r.regkey + r.level + r.module_type + r.parent + r.isInternalService, "rk3serviceReaderno");
    EXPECT_EQ(r.releaseDate + r.md5 + r.upgTipBtn + r.upgTipTitle + r.upgTipContent, "2026/01/02abcbtc");
    EXPECT_EQ(r.url, "https://h.example/p/OCR_Pack.vzip");
    EXPECT_EQ(r.tempFile, "e:/Kelvrin Software/Install/OCR_Pack.vzip");
    EXPECT_TRUE(r.result && r.plugin && r.forcedUpgrade && r.SilentInstall && r.autoCheck && r.bOcrPack);
    EXPECT_FALSE(r.isnew || r.iscommon || r.pushUpdateTip || r.is_push || r.selected || r.bForcedNotRejected);
    EXPECT_EQ(r.update_mode, 2);
    EXPECT_EQ(r.DurnisPDFStandardFlag, "TRUE");
    EXPECT_EQ(r.DurnisPDFStandard, "");
    EXPECT_EQ(r.extraInfo, "");
    const QueryResultInfo result = m_engine->GetQueryResultInfo();
    EXPECT_TRUE(result.bSuccess && result.bUpdateFound && result.bCloudModeModule);
    EXPECT_TRUE(result.strMessage.isEmpty());
    EXPECT_TRUE(m_run->bQueryReplied);
    EXPECT_FALSE(m_run->bMajorUpdate) << "majorUpdate \"True\" and no automatic upgrade";
}

TEST_F(ReplyParsing, FlagTextsFollowTheirOwnCaseRules)
{
    parse(reply({"version=\"1\" name=\"a\" result=\"TRUE\" is_push=\"1\" update_mode=\"7\"",
                 "version=\"1\" name=\"b\" result=\"1\"",
                 "version=\"1\" name=\"c\" result=\"true\" is_push=\" 1\" update_mode=\"\"",
                 "version=\"1\" name=\"d\" result=\"tRuE\" is_push=\"True\" update_mode=\"x\"",
                 "version=\"1\" name=\"e\" result=\" true\"",
                 "version=\"1\" name=\"f\" result=\"true\" result=\"false\"",
                 "version=\"1\" name=\"g\" result=\"true\" update_mode=\"12abc\" DurnisPDFStandard=\"v2\""}));
    EXPECT_EQ(availableNames(), (Names{"a", "c", "d", "g"}));
    EXPECT_TRUE(available("a")->is_push);
    EXPECT_FALSE(available("c")->is_push);
    EXPECT_TRUE(available("d")->is_push);
    EXPECT_EQ(available("a")->update_mode, 7);
    EXPECT_EQ(available("c")->update_mode, 0);
    EXPECT_EQ(available("d")->update_mode, 0);
    EXPECT_EQ(available("g")->update_mode, 0);
    EXPECT_EQ(available("c")->DurnisPDFStandardFlag, "");
    EXPECT_EQ(available("g")->DurnisPDFStandard, "v2");
    EXPECT_FALSE(m_engine->GetQueryResultInfo().bCloudModeModule);
}

TEST_F(ReplyParsing, UpdateListKeepsWhatIsNewForThisInstallation)
{
    startReaderRun();
    installComponents(kInstalled);
    const QString registryKey = "Software\\Kelvrin Software\\Kelvrin PDF Reader\\plugins\\Updater";
    CRegister::regSetString(registryKey, "Dict", "5");
    CRegister::regSetString(registryKey, "Dict2", "5");
    CRegister::regSetString(registryKey, "Reader3", "13");
    const QByteArray xml = reply({
        "name=\"OCR\" version=\"2.1\" module_type=\"service\" result=\"true\"",
        "name=\"Stamp\" version=\"1.0\" module_type=\"service\" result=\"true\"",
        "name=\"Forms\" version=\"2.9\" module_type=\"service\" result=\"true\"",
        "name=\"Sign\" version=\"1.0\" module_type=\"service\" result=\"true\"",
        "name=\"Gone\" version=\"1.0\" module_type=\"service\" result=\"false\"",
        "name=\"Reader\" version=\"12.0.1.100\" module_type=\"updater\" result=\"true\"",
        "name=\"Reader2\" version=\"12.0.1.101\" module_type=\"updater\" result=\"true\"",
        "name=\"Dict\" version=\"5\" module_type=\"basic\" result=\"true\"",
        "name=\"Dict2\" version=\"6\" module_type=\"basic\" result=\"true\"",
        "name=\"Reader3\" version=\"13\" module_type=\"updater\" result=\"true\"",
        "name=\"Common\" version=\"1\" module_type=\"service\" result=\"true\" iscommon=\"true\"",
    });
    parse(xml);
    EXPECT_EQ(availableNames(), (Names{"OCR", "Sign", "Reader2", "Dict2", "Reader3"}));
    EXPECT_EQ(selectedNames(), Names{});
    EXPECT_TRUE(m_engine->GetQueryResultInfo().bUpdateFound);
    EXPECT_TRUE(m_engine->CheckVersionUpdate());
    EXPECT_FALSE(available("Reader2")->bMajorUpgrade);
    EXPECT_TRUE(available("Reader3")->bMajorUpgrade);

    m_run->bRollback = true;
    parse(xml);
    EXPECT_EQ(availableNames(), (Names{"OCR", "Sign", "Reader", "Reader2", "Dict2", "Reader3"}))
        << "a reader update at the installed version stays when rolling back";

    m_engine->bCheckInstalled = false;
    m_engine->OnPaserModuleInfo(replyFile());
    EXPECT_EQ(availableNames(), (Names{"OCR", "Stamp", "Forms", "Sign", "Reader", "Reader2", "Dict2", "Reader3", "Common"}));
}

TEST_F(ReplyParsing, AutomaticCheckOffersUpdatesOfInstalledComponentsNotDeclined)
{
    startReaderRun("-updater -type \"Auto Updater\"");
    installComponents(kInstalled);
    MODULEINFO declined;
    declined.name = "Stamp";
    declined.version = "3";
    engine().WriteRejectAutoUpdateInfo({&declined});
    parse(reply({
              "name=\"OCR\" version=\"2.1\" module_type=\"service\" result=\"true\"",
              "name=\"Sign\" version=\"1.0\" module_type=\"service\" result=\"true\"",
              "name=\"Sign2\" version=\"1.0\" module_type=\"service\" result=\"true\" autoCheck=\"TRUE\"",
              "name=\"Reader\" version=\"12.0.1.101\" module_type=\"updater\" result=\"true\"",
              "name=\"Stamp\" version=\"3\" module_type=\"service\" result=\"true\"",
              "name=\"Forms\" version=\"3.1\" module_type=\"service\" result=\"true\"",
          }),
          "Auto Updater");
    EXPECT_EQ(availableNames(), (Names{"OCR", "Sign2", "Reader", "Forms"}));
    for (const char* name : {"OCR", "Sign2", "Reader", "Forms"})
        EXPECT_TRUE(available(name)->selected) << name;
    EXPECT_EQ(selectedNames(), Names{});
    EXPECT_TRUE(m_engine->GetQueryResultInfo().bUpdateFound);
}

TEST_F(ReplyParsing, ComponentRunSelectsTheModuleOfExactlyThatName)
{
    startReaderRun("-updater -type OCR_Basic");
    parse(reply({"name=\"OCR_Basic_Extra\" version=\"1\" result=\"true\"", "name=\"OCR_Basic\" version=\"1\" result=\"true\""}),
          "OCR_Basic");
    EXPECT_EQ(availableNames(), (Names{"OCR_Basic_Extra", "OCR_Basic"}));
    EXPECT_FALSE(available("OCR_Basic_Extra")->selected);
    EXPECT_TRUE(available("OCR_Basic")->selected);
    EXPECT_FALSE(m_engine->GetQueryResultInfo().bUpdateFound);
    m_engine->AddSelModule(" OCR_Basic ");
    EXPECT_EQ(selectedNames(), Names{"OCR_Basic_Extra"});
}

TEST_F(ReplyParsing, MajorUpdateNeedsTheExactWordAndAnAutomaticUpgrade)
{
    const struct {
        const char* root;
        bool autoUpgrade;
        bool major;
    } cases[] = {{"majorUpdate=\"true\"", true, true},   {"majorUpdate=\"TRUE\"", true, true},
                 {"majorUpdate=\"True\"", true, false},  {"majorUpdate=\"true\"", false, false},
                 {"majorUpdate=\"1\"", true, false},     {"", true, false}};
    for (const auto& c : cases) {
        startReaderRun();
        parse(reply({}, c.root), "Update List", c.autoUpgrade);
        EXPECT_EQ(m_run->bMajorUpdate, c.major) << c.root << " " << c.autoUpgrade;
    }
}

TEST_F(ReplyParsing, ForcedUpgradeJoinsTheSelectionOnlyInAutomaticUpgrades)
{
    startReaderRun();
    installComponents(kInstalled);
    const QByteArray xml = reply({"name=\"OCR\" version=\"2.1\" module_type=\"service\" result=\"true\" forcedUpgrade=\"true\"",
                                  "name=\"Stamp\" version=\"1.0\" module_type=\"service\" result=\"true\" forcedUpgrade=\"true\"",
                                  "name=\"Sign\" version=\"1.0\" module_type=\"service\" result=\"true\""});
    parse(xml, "Update List", true);
    EXPECT_EQ(availableNames(), (Names{"OCR", "Sign"})) << "a forced module already installed is still dropped";
    EXPECT_EQ(selectedNames(), Names{"OCR"});
    EXPECT_TRUE(available("OCR")->bForcedNotRejected);
    EXPECT_TRUE(m_run->bForcedOnly);

    startReaderRun();
    parse(xml, "Update List", false);
    EXPECT_EQ(selectedNames(), Names{});
    EXPECT_FALSE(m_run->bForcedOnly);
}

TEST_F(ReplyParsing, InternalServiceKeepsTheDecodedPathAndReadsRollback)
{
    startReaderRun("-InternalUpdateURL http://127.0.0.1:9/svc");
    m_run->bInternalUpdate = true;
    parse(reply({"version=\"1\" name=\"A\" result=\"true\" url=\"https://svc.example:8443/a/b%20c.vzip?t=1#f\"",
                 "version=\"1\" name=\"B\" result=\"true\" url=\"/pkg/%E6%97%A5.vzip\"",
                 "name=\"R\" module_type=\"updater\" version=\"1\" result=\"true\""},
                "rollback=\"True\""));
    EXPECT_EQ(availableNames(), (Names{"A", "B", "R"}));
    EXPECT_EQ(available("A")->url, "/a/b c.vzip");
    EXPECT_EQ(available("B")->url, "/pkg/\xe6\x97\xa5.vzip");
    EXPECT_TRUE(m_run->bRollback);
}

TEST_F(ReplyParsing, CleanUpsDropPatchesBesideUpdatersAndCloudModules)
{
    parse(reply({"version=\"1\" name=\"Updater\" result=\"true\" SilentInstall=\"true\"",
                 "version=\"1\" name=\"Patch\" result=\"true\" SilentInstall=\"true\"",
                 "version=\"1\" name=\"Patch 2\" result=\"true\"",
                 "version=\"1\" name=\"Cloud\" result=\"true\" update_mode=\"2\" isInternalService=\"TRUE1\"",
                 "version=\"1\" name=\"Cloud2\" result=\"true\" update_mode=\"2\" isInternalService=\"true\" SilentInstall=\"true\""}));
    EXPECT_EQ(availableNames(), (Names{"Updater", "Patch", "Cloud2"}));
    EXPECT_TRUE(m_engine->GetQueryResultInfo().bCloudModeModule);
    EXPECT_TRUE(m_engine->isSilentUpdate());
    EXPECT_FALSE(m_engine->CheckVersionUpdate());
    m_engine->RemoveAvailableModule(2);
    m_engine->CloneAvailableModuleInfo(m_engine->GetAvailabletModule(0));
    EXPECT_FALSE(m_engine->isSilentUpdate()) << "a clone does not carry the silent flag";
}

TEST_F(ReplyParsing, EveryParseStartsFromFreshRecords)
{
    parse(reply({"version=\"1\" name=\"A\" result=\"true\" SilentInstall=\"true\" forcedUpgrade=\"true\""}));
    m_engine->AddSelModule(m_engine->GetAvailabletModule(0));
    m_engine->SetCurDownloadModuleInfo(m_engine->GetAvailabletModule(0));
    IsolatedEnvironment::writeFile(replyFile(), reply({"version=\"1\" name=\"A\" result=\"true\""}));
    m_engine->OnPaserModuleInfo(replyFile());
    ASSERT_EQ(availableNames(), Names{"A"});
    EXPECT_FALSE(available("A")->SilentInstall || available("A")->forcedUpgrade);
    EXPECT_EQ(selectedNames(), Names{});
    EXPECT_EQ(m_engine->GetCurDownloadModule(), nullptr);
}

TEST_F(ReplyParsing, StopFlagAbandonsTheParse)
{
    startReaderRun();
    IsolatedEnvironment::writeFile(replyFile(), reply({"version=\"1\" name=\"A\" result=\"true\""}));
    CReaderModuleManager& run = engine();
    run.bStopQuery = true;
    run.OnPaserModuleInfo(replyFile());
    EXPECT_EQ(run.CountAvailableModule(), 0);
    EXPECT_FALSE(m_run->bQueryReplied);
}

struct FailureCase {
    const char* name;
    QByteArray reply; // null: no reply file at all
    bool success;
    bool replied;
};

TEST_F(ReplyParsing, MissingEmptyOrUnreadableRepliesFailTheCheck)
{
    const FailureCase cases[] = {
        {"no file", QByteArray(), false, false},
        {"empty", QByteArray(""), false, false},
        {"not XML", "this is no reply\n", false, true},
        {"binary", QByteArray("\x00\xff\xfe<\x01", 5), false, true},
        {"no modules", "<modules/>", true, true},
        {"only text", "<modules>just text</modules>", true, true},
        {"no modules, other names", "<addons></addons>", true, true},
        {"something after the root", QByteArray("<modules/>\n") + '\0' + "\xff", true, true},
    };
    for (const FailureCase& c : cases) {
        SCOPED_TRACE(c.name);
        startReaderRun();
        CReaderModuleManager& run = engine();
        QFile::remove(replyFile());
        if (!c.reply.isNull())
            IsolatedEnvironment::writeFile(replyFile(), c.reply);
        run.OnPaserModuleInfo(replyFile());
        const QueryResultInfo result = run.GetQueryResultInfo();
        EXPECT_EQ(result.bSuccess, c.success);
        EXPECT_EQ(result.strMessage.isEmpty(), c.success);
        EXPECT_FALSE(result.bUpdateFound);
        EXPECT_EQ(run.CountAvailableModule(), 0);
        EXPECT_EQ(m_run->bQueryReplied, c.replied);
    }
}

// The core parser takes whatever it can read for a tree: a reply cut short, or one with a broken
// tag, would read as a shorter good one.
TEST_F(ReplyParsing, AReplyThatIsNotWellFormedUpToItsRootsEndFailsTheCheck)
{
    const QByteArray whole = reply({"version=\"1\" name=\"A\" result=\"true\"", "version=\"1\" name=\"B\" result=\"true\""});
    const int rootEnd = whole.lastIndexOf("</modules>");
    const QByteArray brokenSecond = "<?xml version=\"1.0\"?>\n"
                                    "<modules>\n"
                                    "  <module name=\"A\" version=\"1\" result=\"true\"/>\n"
                                    "  <module checked name=\"B\" version=\"1\" result=\"true\"></module>\n"
                                    "  <module name=\"C\" version=\"1\" result=\"true\"/>\n";
    const struct {
        const char* name;
        QByteArray reply;
    } cases[] = {
        {"broken tag, then bytes that are no text",
         QByteArray("<addons><addon name=\"x\" title=<<<") + '\0' + "\xff not xml"},
        {"cut inside the second module", whole.left(whole.indexOf("name=\"B\"") + 7)},
        {"cut after the last module", whole.left(rootEnd)},
        {"cut inside the root's end tag", whole.left(rootEnd + 9)},
        {"a module's end tag but not the root's", "<modules><module version=\"1\" name=\"A\" result=\"true\"></module>"},
        {"root start tag only", "<modules>"},
        {"an attribute without a value, cut short", brokenSecond + "  <module name=\"D\" vers"},
        {"an attribute without a value, whole", brokenSecond + "</modules>"},
        {"a stray end tag", "<modules></x><module version=\"1\" name=\"A\" result=\"true\"/></modules>"},
        {"an unquoted value",
         "<modules><module version=\"1\" name=\"A\" result=\"true\"/><module version=1 name=\"B\"/></modules>"},
        {"a name that starts with a digit",
         "<modules><module version=\"1\" name=\"A\" result=\"true\"/><2module name=\"B\"/></modules>"},
        // The core parser ends an attribute's name at a character that cannot stand in one, and
        // drops the tag when no '=' follows there.
        {"a character in an attribute's name that no name holds",
         "<modules><module version=\"1\" name=\"A\" result=\"true\"/><module x@y=\"1\" name=\"B\"/></modules>"},
        {"a byte that is no UTF-8 in an attribute's name",
         "<modules><module version=\"1\" name=\"A\" result=\"true\"/><module x\xffy=\"1\" name=\"B\"/></modules>"},
        {"a document type with declarations of its own, which the core parser does not apply",
         "<!DOCTYPE modules [<!ATTLIST module result CDATA \"true\">]><modules><module version=\"1\" name=\"A\"/></modules>"},
        {"bytes that are no UTF-8 inside the root", "<modules><module version=\"1\" name=\"A\xff\" result=\"true\"/></modules>"},
        // In Shift_JIS the ']' after 0x81 is a part of one character, so the CDATA section ends later
        // there than where the core parser, which goes by bytes, ends it: it reads <x> as a child.
        {"a declared encoding in which a character takes a byte of the markup",
         "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?><modules><module version=\"1\" name=\"A\" result=\"true\"/>"
         "<![CDATA[\x81]]><x>]]></modules>"},
        // The core parser takes the bytes 0xFE and 0xFF for blanks, so it ends the attribute name at
        // the 0xFE, a letter in ISO-8859-1, and drops the second module as a tag it cannot read.
        {"a declared encoding in which a letter is a blank to the core parser",
         "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><modules><module version=\"1\" name=\"A\" result=\"true\"/>"
         "<module x\xfey=\"1\" version=\"1\" name=\"B\" result=\"true\"/></modules>"},
    };
    DebugLog log(env);
    const QString logLine = "Not a well-formed XML document: " + replyFile();
    int logged = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        startReaderRun();
        parse(c.reply);
        const QueryResultInfo result = m_engine->GetQueryResultInfo();
        EXPECT_FALSE(result.bSuccess);
        EXPECT_FALSE(result.strMessage.isEmpty());
        EXPECT_FALSE(result.bUpdateFound);
        EXPECT_EQ(m_engine->CountAvailableModule(), 0);
        EXPECT_TRUE(m_run->bQueryReplied);
        EXPECT_EQ(log.text().count(logLine), ++logged) << log.text().toStdString();
    }
    parse(whole);
    EXPECT_EQ(availableNames(), (Names{"A", "B"}));
    parse(whole + "<!-- served by the test -->\n</modules><<<" + '\0' + "\xff");
    EXPECT_EQ(availableNames(), (Names{"A", "B"})) << "what follows the root is not read";
    parse("\xef\xbb\xbf" + whole);
    EXPECT_EQ(availableNames(), (Names{"A", "B"})) << "a byte-order mark";
    parse(QByteArray(whole).replace("UTF-8", "UTF-16"));
    EXPECT_EQ(availableNames(), (Names{"A", "B"})) << "another encoding declared: the bytes are UTF-8 to both parsers";
    // In Shift_JIS the last byte of this UTF-8 character would take the ']' after it.
    parse(QByteArray(whole).replace("UTF-8", "Shift_JIS").replace("</modules>", "<![CDATA[\xc3\x89]]></modules>"));
    EXPECT_EQ(availableNames(), (Names{"A", "B"})) << "another encoding declared, the bytes well-formed as UTF-8";
    for (const XmlVariant& variant : readableVariants("<modules>\n"
                                                      "  <module version=\"1\" name=\"A\" result=\"true\" extra=\"-\"/>\n"
                                                      "  <module version=\"1\" name=\"B\" result=\"true\"/>\n"
                                                      "</modules>\n")) {
        parse(variant.document);
        EXPECT_TRUE(m_engine->GetQueryResultInfo().bSuccess) << variant.name;
        EXPECT_EQ(availableNames(), (Names{"A", "B"})) << variant.name;
    }
    EXPECT_EQ(log.text().count(logLine), logged);
}

QByteArray crowdedReply(int attributes)
{
    QByteArray xml = "<modules><module name=\"A\" version=\"1\" result=\"true\"";
    for (int i = 0; i < attributes; ++i)
        xml += " a" + QByteArray::number(i) + "=\"" + QByteArray::number(i) + "\"";
    return xml + "/></modules>";
}

// Markup that only looks like attributes, inside a comment, a value or text, is no start tag: the
// guard against crowded start tags must not refuse it.
TEST_F(ReplyParsing, WhatLooksLikeAttributesOutsideAStartTagIsRead)
{
    const QByteArray signs(6000, '=');
    const QByteArray crowded = crowdedReply(20000);
    const struct {
        const char* name;
        QByteArray between;
    } cases[] = {
        {"a comment", "<!--" + signs + "-->"},
        {"a commented-out start tag", "<!--" + crowded + "-->"},
        {"a CDATA section", "<![CDATA[" + crowded + "]]>"},
        {"a processing instruction", "<?note " + signs + "?>"},
        {"text", signs},
        {"a value", "<module name=\"" + signs + "\"/>"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        parse(reply({"version=\"1\" name=\"A\" result=\"true\""}).replace("</modules>", c.between + "</modules>"));
        EXPECT_TRUE(m_engine->GetQueryResultInfo().bSuccess);
        EXPECT_EQ(availableNames(), Names{"A"});
    }
}

TEST_F(ReplyParsing, HostileRepliesEndCleanly)
{
    QByteArray deep;
    for (int i = 0; i < 200000; ++i)
        deep += "<m result=\"true\" name=\"n\">";
    // Deeper than the core parser builds: the end tags below would close the modules early, and
    // the second module would be lost.
    QByteArray nested = "<modules><module version=\"1\" name=\"A\" result=\"true\"/>";
    for (int i = 0; i < 600; ++i)
        nested += "<n>";
    for (int i = 0; i < 600; ++i)
        nested += "</n>";
    nested += "<module version=\"1\" name=\"B\" result=\"true\"/></modules>";
    // Each start tag takes the defaults of its name, compared with every attribute it has.
    QByteArray defaults = "<!DOCTYPE modules [<!ATTLIST module";
    for (int i = 0; i < 30000; ++i)
        defaults += " d" + QByteArray::number(i) + " CDATA \"x\"";
    defaults += ">]><modules>";
    for (int i = 0; i < 1000; ++i)
        defaults += "<module version=\"1\" name=\"A\" result=\"true\"/>";
    defaults += "</modules>";
    QByteArray noise;
    quint32 seed = 12345;
    for (int i = 0; i < 200000; ++i) {
        seed = seed * 1103515245u + 12345u;
        noise += static_cast<char>("<>/=\"' amx&;!?[]-\x80\xff"[(seed >> 16) % 20]);
    }
    QByteArray entities = "<!DOCTYPE modules [<!ENTITY e0 \"laugh\">";
    for (int i = 1; i < 40; ++i)
        entities += QString("<!ENTITY e%1 \"&e%2;&e%2;\">").arg(i).arg(i - 1).toUtf8();
    entities += "]><modules><module name=\"&e39;\" version=\"1\" result=\"true\"/></modules>";
    for (const QByteArray& hostile : {deep, nested, crowdedReply(100000), defaults, noise, entities}) {
        parse(hostile);
        EXPECT_FALSE(m_engine->GetQueryResultInfo().bSuccess);
        EXPECT_EQ(m_engine->CountAvailableModule(), 0);
    }
    parse(crowdedReply(2000));
    EXPECT_EQ(availableNames(), Names{"A"}) << "a start tag of a few thousand attributes is still read";
}

TEST_F(ReplyParsing, InstalledComponentsComeFromTheBundlesList)
{
    const QString first = env.root() + "/ocr/a.bin";
    const struct {
        const char* name;
        QByteArray xml;
        std::vector<std::string> components; // "name version path|path"
        bool logged = false;
    } cases[] = {
        {"paths in order", "<updater_info><c name=\"OCR\" version=\" 2.0\"><f path=\"/x/a\"/><f other=\"1\"/>"
                           "<f path=\"/x/b\"/>text</c>text<c name=\"Stamp\"/></updater_info>",
         {"OCR  2.0 /x/a|/x/b", "Stamp  "}},
        {"no marker", "<components><c name=\"OCR\" version=\"2.0\"/></components>", {}},
        {"marker only in text", "<components>updater_info<c name=\"OCR\" version=\"2.0\"/></components>",
         {"OCR 2.0 "}},
        {"empty", "", {}},
        {"not XML", "updater_info", {}, true},
        {"cut short", "<updater_info><c name=\"OCR\" version=\"2.0\"/><c name=\"Stamp\" version=\"1.0\"/><c na", {}, true},
        {"a stray end tag", "<updater_info><c name=\"OCR\" version=\"2.0\"/></x><c name=\"Stamp\"/></updater_info>", {},
         true},
    };
    DebugLog log(env);
    const QString logLine = "Not a well-formed XML document: " + readerPath() + "/../Resources/UpdaterInfo.xml";
    int logged = 0;
    const auto installed = [this](const QByteArray& xml) {
        startReaderRun();
        installComponents(xml);
        QVector<_UpdaterInfo*> list{new _UpdaterInfo};
        engine().ParseUpdaterInfo(list);
        std::vector<std::string> components;
        for (const _UpdaterInfo* component : list) {
            const QStringList paths = component->paths;
            components.push_back(component->name + " " + component->version + " " + paths.join('|').toStdString());
        }
        m_engine->ReleaseUpdaterInfoList(list);
        return components;
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(installed(c.xml), c.components);
        logged += c.logged;
        EXPECT_EQ(log.text().count(logLine), logged) << log.text().toStdString();
    }
    for (const XmlVariant& variant : readableVariants("<updater_info>\n"
                                                      "  <c name=\"OCR\" version=\"2.0\" extra=\"-\"><f path=\"/x/a\"/></c>\n"
                                                      "  <c name=\"Stamp\" version=\"1.0\"/>\n"
                                                      "</updater_info>\n")) {
        EXPECT_EQ(installed(variant.document), (std::vector<std::string>{"OCR 2.0 /x/a", "Stamp 1.0 "})) << variant.name;
    }
    EXPECT_EQ(log.text().count(logLine), logged) << log.text().toStdString();
}

} // namespace
