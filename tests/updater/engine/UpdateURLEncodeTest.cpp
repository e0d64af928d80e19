#include "engine/CZR_Update_URLEncode.h"

#include <gtest/gtest.h>

namespace {

struct EncodeCase {
    QString text;
    const char* encoded;
};

TEST(UpdateURLEncode, EncodesWhatTheServiceCallsUnsafe)
{
    const EncodeCase cases[] = {
        {"Update List", "Update%20List"},
        {"Auto Updater", "Auto%20Updater"},
        {"OCR-plug.in_x", "OCR%2dplug%2ein%5fx"},
        {"azAZ09", "azAZ09"},
        {"/:@[`{~", "%2f%3a%40%5b%60%7b%7e"},
        {QString("caf") + QChar(233), "caf\xc3\xa9"},
        {QString("x") + QChar(0x4e2d) + "y", "x%00y"},
        {QString(QChar(0x7f)), "%7f"},
        {"", ""},
    };
    CZR_Update_URLEncode encoder(nullptr);
    for (const EncodeCase& c : cases)
        EXPECT_EQ(encoder.URLEncode(c.text), QString::fromUtf8(c.encoded)) << c.text.toStdString();
}

TEST(UpdateURLEncode, EncodeAllUsesLowerCaseHexOfTheLatin1Byte)
{
    CZR_Update_URLEncode encoder(nullptr);
    EXPECT_EQ(encoder.URLEncodeAll(QString("aZ") + QChar(0xff) + QChar(0x100)), "%61%5a%ff%00");
    EXPECT_FALSE(encoder.IsUnsafe(QChar(0x80)));
    EXPECT_TRUE(encoder.IsUnsafe(QChar(0)));
}

} // namespace
