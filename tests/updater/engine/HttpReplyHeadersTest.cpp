#include "engine/HttpReplyHeaders.h"

#include <QNetworkReply>

#include <gtest/gtest.h>

namespace {

// A reply that only carries the "Content-Length" that Qt would have joined over the hops.
class ReplyWithLength : public QNetworkReply
{
public:
    explicit ReplyWithLength(const QByteArray& contentLength)
    {
        if (!contentLength.isEmpty())
            setRawHeader("Content-Length", contentLength);
    }
    void abort() override {}

protected:
    qint64 readData(char*, qint64) override { return -1; }
};

struct LengthCase {
    QByteArray header;
    int countBeforeFinal;
    qint64 finalLength;
};

TEST(HttpReplyHeaders, FinalLengthIsTheLastValueOnlyWhenTheFinalResponseSentOne)
{
    const LengthCase cases[] = {
        {"", 0, -1},
        {"300000", 0, 300000},
        {"5, 300000", 1, 300000}, // a redirect hop with a body, then the file
        {"5", 1, -1},             // the hop's length; the final response sent none
        {"0, 5, 188", 2, 188},
        {"lots", 0, -1},
        {"-4", 0, -1},
    };
    for (const LengthCase& c : cases) {
        SCOPED_TRACE(c.header.toStdString());
        ReplyWithLength reply(c.header);
        EXPECT_EQ(HttpReplyHeaders::finalContentLength(&reply, c.countBeforeFinal), c.finalLength);
    }
    ReplyWithLength joined("5, 300000");
    EXPECT_EQ(HttpReplyHeaders::contentLengthCount(&joined), 2);
}

} // namespace
