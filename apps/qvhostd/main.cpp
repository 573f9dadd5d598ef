// qvhostd [--personal FILE]
//
// The QVUser host process: serves the JSON-lines protocol of
// docs/host-process.md on standard input and output until the input ends.
// --personal FILE makes FILE the user's personal configuration and exits.
// QVHOSTD_SCRIPT names a file of scripted answers (ScriptedAnswers.h).

#include "LineChannel.h"
#include "RequestHandler.h"
#include "ScriptedAnswers.h"

#include "qvuser/biz/ConfigFileSettings.h"

#include <QApplication>
#include <QFileInfo>

#include <cstdio>
#include <exception>

namespace {

int SetPersonal(const QString &path)
{
    try {
        qv::biz::ConfigFileSettings().SetConfigFilePath(qv::biz::ConfigFileSettings::Personal,
                                                        QFileInfo(path).absoluteFilePath());
        return 0;
    } catch (const std::exception &e) {
        std::fprintf(stderr, "qvhostd: the personal configuration could not be set: %s\n", e.what());
        return 1;
    }
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("qvhostd"));
    // Between requests no window may be open at all; the input's end ends the process.
    QApplication::setQuitOnLastWindowClosed(false);
    const QStringList arguments = QApplication::arguments().mid(1);
    if (arguments.value(0) == QLatin1String("--personal") && arguments.size() == 2)
        return SetPersonal(arguments[1]);
    if (!arguments.isEmpty()) {
        std::fprintf(stderr, "usage: qvhostd [--personal FILE]\n");
        return 2;
    }
    const QString script = qEnvironmentVariable(qvhostd::kScriptVariable);
    if (!script.isEmpty()) {
        QString error;
        if (qvhostd::QueueScript(script, error) == 0 && !error.isEmpty())
            std::fprintf(stderr, "qvhostd: %s\n", qPrintable(error));
    }
    qvhostd::RequestHandler handler;
    qvhostd::LineChannel channel(handler);
    return app.exec();
}
