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

struct RangeCase {
    QByteArray header;
    bool valid;
    qint64 first, last, size;
};

TEST(HttpReplyHeaders, ContentRangeIsReadOnlyWhenWellFormed)
{
    const RangeCase cases[] = {
        {"bytes 0-99/100", true, 0, 99, 100},
        {"bytes 1000-2999/3000", true, 1000, 2999, 3000},
        {"bytes 0-99/*", true, 0, 99, -1},
        {"bytes 0-99/99", false, 0, 0, 0},  // the last byte lies past the size
        {"bytes 9-3/100", false, 0, 0, 0},
        {"bytes */100", false, 0, 0, 0},    // the unsatisfied form
        {"bytes -5-99/100", false, 0, 0, 0},
        {"bytes 0-99", false, 0, 0, 0},
        {"items 0-99/100", false, 0, 0, 0},
        {"bytes 0-x/100", false, 0, 0, 0},
        {"", false, 0, 0, 0},
    };
    for (const RangeCase& c : cases) {
        SCOPED_TRACE(c.header.toStdString());
        HttpReplyHeaders::ContentRange range;
        ASSERT_EQ(HttpReplyHeaders::parseContentRange(c.header, range), c.valid);
        if (c.valid) {
            EXPECT_EQ(range.first, c.first);
            EXPECT_EQ(range.last, c.last);
            EXPECT_EQ(range.size, c.size);
        }
    }
}

} // namespace
