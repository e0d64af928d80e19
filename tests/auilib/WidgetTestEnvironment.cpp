// The look the widget library's tests measure against: Fusion, whatever the machine's default.
#include <QApplication>
#include <QStyleFactory>

#include <gtest/gtest.h>

namespace {

class FusionStyleEnvironment : public testing::Environment
{
public:
    void SetUp() override { QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion"))); }
};

const testing::Environment* const kFusion = testing::AddGlobalTestEnvironment(new FusionStyleEnvironment);

} // namespace
