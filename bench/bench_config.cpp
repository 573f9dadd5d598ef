// Opening and saving a large configuration against bare XML passes over the
// same document, in the same process.
#include "BenchMain.h"

#include "biz/ConfigFileSettings.h"
#include "config/ConfigStore.h"

#include <QFile>
#include <QTemporaryDir>

#include <QXmlStreamReader>
#include <QXmlStreamWriter>

namespace {

const QByteArray &LargeConfiguration()
{
    static const QByteArray xml = [] {
        auto store = qv::config::ConfigStore::Create();
        store->CreateNew(QString(), QStringLiteral("Large"), QString(), QString());
        for (int v = 0; v < 5000; ++v) {
            auto view = store->DataViewCollection().AddBlank();
            view->Name = QStringLiteral("View %1").arg(v);
            view->Source = {6, QStringLiteral("Access"), QStringLiteral("Provider=x;Data Source=db%1.mdb").arg(v), {}};
            for (int f = 0; f < 20; ++f)
                view->Fields.Add(QStringLiteral("Field %1").arg(f))->ViewFormat = QStringLiteral("#,##0.00");
        }
        return store->ToXml();
    }();
    return xml;
}

void BM_OpenAndSaveConfig(benchmark::State &state)
{
    const QByteArray &xml = LargeConfiguration();
    for (auto _ : state) {
        auto store = qv::config::ConfigStore::Create();
        store->ReadXml(xml, QStringLiteral("large.cfg"));
        benchmark::DoNotOptimize(store->ToXml());
    }
}
BENCHMARK(BM_OpenAndSaveConfig)->Unit(benchmark::kMillisecond);

// A bare reader pass that copies every element and attribute into a writer.
void BM_BareXmlPasses(benchmark::State &state)
{
    const QByteArray &xml = LargeConfiguration();
    for (auto _ : state) {
        QByteArray out;
        QXmlStreamReader reader(xml);
        QXmlStreamWriter writer(&out);
        writer.setAutoFormatting(true);
        while (!reader.atEnd()) {
            reader.readNext();
            writer.writeCurrentToken(reader);
        }
        benchmark::DoNotOptimize(out);
    }
}
BENCHMARK(BM_BareXmlPasses)->Unit(benchmark::kMillisecond);

// The stamp the manager reads on every command, of a team file of that size.
void BM_ChangeStamp(benchmark::State &state)
{
    QTemporaryDir dir;
    qputenv("QV_REGISTRY_ROOT", dir.path().toLocal8Bit());
    qputenv("QV_DATA_ROOT", dir.path().toLocal8Bit());
    const QString path = dir.filePath(QStringLiteral("team.cfg"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(LargeConfiguration()) != LargeConfiguration().size())
        state.SkipWithError("cannot write the team file");
    file.close();
    qv::biz::ConfigFileSettings settings;
    settings.SetConfigFilePath(qv::biz::ConfigFileSettings::Team, path);
    for (auto _ : state)
        benchmark::DoNotOptimize(settings.ChangeStamp(qv::biz::ConfigFileSettings::Team));
    state.counters["bytes"] = double(LargeConfiguration().size());
}
BENCHMARK(BM_ChangeStamp)->Unit(benchmark::kMillisecond);

const bool g_stampGoal = qv::bench::AddTimeGoal("change stamp of a 5000 data view team file", "BM_ChangeStamp", 100000);

const bool g_goal = qv::bench::AddRatioGoal(
    {"open and save 5000 data views vs bare QXmlStreamReader + QXmlStreamWriter", "BM_OpenAndSaveConfig",
     "BM_BareXmlPasses", 2.0});

} // namespace
