#include "TestMain.h"

#include <QApplication>
#include <QLocale>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace qv::test {

namespace {
QString g_self;
}

QString SelfPath()
{
    return g_self;
}

} // namespace qv::test

int main(int argc, char **argv)
{
    qv::test::g_self = QString::fromLocal8Bit(argv[0]);
    std::unique_ptr<QCoreApplication> app;
    if (qv::test::NeedsGuiApplication())
        app = std::make_unique<QApplication>(argc, argv);
    else
        app = std::make_unique<QCoreApplication>(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() > 1 && arguments[1] == QLatin1String("--child"))
        return qv::test::RunChild(arguments.mid(2));

    // Nothing a test writes to the registry reaches the user's own settings.
    QTemporaryDir registryRoot;
    qputenv("QV_REGISTRY_ROOT", registryRoot.path().toLocal8Bit());
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
