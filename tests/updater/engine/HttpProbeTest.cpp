#include "engine/QHttpCheckExist.h"

#include "LocalHttpServer.h"

#include <QElapsedTimer>

#include <gtest/gtest.h>

namespace {

struct ProbeCase {
    const char* name;
    QByteArray body;
    bool notAvailable;
};

class HttpProbe : public testing::TestWithParam<ProbeCase> {};

TEST_P(HttpProbe, FlagsOnlyTheShortNotAvailableReply)
{
    LocalHttpServer server;
    ASSERT_TRUE(server.start());
    server.setFile("/list.xml", GetParam().body);
    HttpRoute moved;
    moved.redirectTo = server.url("/list.xml").toEncoded();
    server.setRoute("/moved.xml", moved);

    for (const char* path : {"/list.xml", "/moved.xml"}) {
        SCOPED_TRACE(path);
        QHttpCheckExist probe(nullptr, server.url(path).toString());
        EXPECT_TRUE(probe.checkExit());
        EXPECT_EQ(probe.isNotAvailable(), GetParam().notAvailable);
    }
}

const QByteArray kNotAvailable = HttpRoute::notAvailable().body;

INSTANTIATE_TEST_SUITE_P(
    Replies, HttpProbe,
    testing::Values(ProbeCase{"ShortNotAvailable", kNotAvailable, true},
                    ProbeCase{"JustUnder150", kNotAvailable + QByteArray(149 - kNotAvailable.size(), ' '), true},
                    ProbeCase{"Exactly150", kNotAvailable + QByteArray(150 - kNotAvailable.size(), ' '), false},
                    ProbeCase{"LongList", kNotAvailable + QByteArray(400 * 1000, 'x'), false},
                    ProbeCase{"ShortOtherReply", R"({"code":0})", false}),
    [](const testing::TestParamInfo<ProbeCase>& info) { return std::string(info.param.name); });

TEST(HttpProbeBound, ServiceThatNeverAnswersCountsAsAvailable)
{
    LocalHttpServer server;
    ASSERT_TRUE(server.start());
    HttpRoute silent;
    silent.neverAnswer = true;
    server.setRoute("/list.xml", silent);
    QHttpCheckExist probe(nullptr, server.url("/list.xml").toString());
    probe.setTimeoutInterval(200);

    QElapsedTimer clock;
    clock.start();
    EXPECT_TRUE(probe.checkExit());
    EXPECT_LT(clock.elapsed(), 5000);
    EXPECT_FALSE(probe.isNotAvailable());
}

} // namespace
