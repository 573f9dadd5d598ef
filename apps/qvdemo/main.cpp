// qvdemo [--samples FOLDER] [--script NAME ARGS...]
//
// The demo editor. On start it makes the generated samples the personal
// configuration unless one that exists is set (FOLDER defaults to the
// build's samples folder beside bin/).

#include "DemoDataMenu.h"
#include "DemoScript.h"
#include "DemoSmartTags.h"
#include "DemoStyles.h"
#include "DemoWindow.h"
#include "HostServices.h"
#include "SamplesSetup.h"

#include "qvuser/biz/ConfigFileSettings.h"
#include "qvuser/registry/Registry.h"

#include <QApplication>
#include <QDir>
#include <QTimer>

#include <cstdio>
#include <exception>

namespace {

// The personal configuration path as the registry holds it ("" when none was
// chosen: ConfigFileSettings itself would answer a new empty file).
QString PersonalPathInRegistry()
{
    return qv::Registry()
        .GetValue(qv::Registry::CurrentUser, QStringLiteral("Software\\Harbrane\\Quorivo\\Data Views\\Configuration"),
                  QStringLiteral("PersonalFile"), qv::Registry::String, qv::Variant(QString()))
        .ToText();
}

void UseSamplesIfNeeded(const QString &samplesFolder)
{
    const QString path = qvdemo::PersonalConfigurationToSet(PersonalPathInRegistry(), samplesFolder);
    if (path.isEmpty())
        return;
    try {
        qv::biz::ConfigFileSettings().SetConfigFilePath(qv::biz::ConfigFileSettings::Personal, path);
        std::fprintf(stderr, "qvdemo: the personal configuration is now %s\n", qPrintable(path));
    } catch (const std::exception &e) {
        std::fprintf(stderr, "qvdemo: the personal configuration could not be set: %s\n", e.what());
    }
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("qvdemo"));
    QStringList arguments = QApplication::arguments().mid(1);

    QString samplesFolder = QDir(QApplication::applicationDirPath()).filePath(QStringLiteral("../samples"));
    if (arguments.value(0) == QLatin1String("--samples") && arguments.size() >= 2) {
        samplesFolder = arguments[1];
        arguments = arguments.mid(2);
    }
    UseSamplesIfNeeded(samplesFolder);

    qvdemo::DemoWindow window;
    auto *host = new qvdemo::HostServices(qvdemo::StyleBook::Demo(), QDir(samplesFolder).absolutePath(), &window);
    auto *menu = new qvdemo::DemoDataMenu(&window, host);
    auto *smartTags = new qvdemo::DemoSmartTags(
        window.Editor(), [menu](const qvdemo::SmartTagCommand &command) { menu->RunSmartTagCommand(command); });
    QObject::connect(smartTags, &qvdemo::DemoSmartTags::Report, &window, &qvdemo::DemoWindow::ShowStatus);
    smartTags->Reload();
    window.show();

    if (arguments.value(0) == QLatin1String("--script")) {
        QTimer::singleShot(0, &window, [&window, menu, smartTags, arguments] {
            QApplication::exit(qvdemo::RunScript(arguments.mid(1), window, *menu, *smartTags));
        });
    }
    return app.exec();
}
