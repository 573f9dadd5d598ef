// Data View Manager speed: opening the window on a configuration of 5,000
// data views and showing its "Data Views" list, against a bare QTreeWidget
// filled with the same texts; and taking in another program's save of that
// file, against opening the window afresh on it.
#include "WidgetsBench.h"

#include "biz/ConfigFileSettings.h"
#include "config/ConfigStore.h"
#include "manager/frmMain.h"

#include <QEventLoop>
#include <QTemporaryDir>
#include <QThreadPool>
#include <QTimer>
#include <QTreeWidget>

#include <memory>

namespace {

constexpr int kViews = 5000;

// The configuration file, and the registry naming it the personal one.
struct Configuration
{
    QTemporaryDir folder;
    QString path;

    Configuration()
    {
        qputenv("QV_REGISTRY_ROOT", folder.path().toLocal8Bit());
        qputenv("QV_DATA_ROOT", folder.path().toLocal8Bit());
        path = folder.filePath(QStringLiteral("personal.cfg"));
        auto store = qv::config::ConfigStore::Create();
        store->CreateNew(path, QStringLiteral("Large"), QString(), QString());
        const char *types[] = {"Microsoft Access", "Microsoft Excel", "ODBC", "Outlook"};
        for (int v = 0; v < kViews; ++v) {
            auto view = store->DataViewCollection().AddBlank();
            // Not in name order, so that the list's sort has work to do.
            view->Name = QStringLiteral("Data view %1").arg(v * 7919 % kViews, 5, 10, QLatin1Char('0'));
            view->Source = {6, QString::fromLatin1(types[v % 4]), QStringLiteral("Provider=x;Data Source=db%1.mdb").arg(v), {}};
            for (int f = 0; f < 10; ++f)
                view->Fields.Add(QStringLiteral("Field %1").arg(f));
        }
        store->Save();
        qv::biz::ConfigFileSettings().SetConfigFilePath(qv::biz::ConfigFileSettings::Personal, path);
    }

    std::shared_ptr<qv::config::ConfigStore> Open() const
    {
        auto store = qv::config::ConfigStore::Create();
        store->Open(path);
        return store;
    }
};

Configuration &Large()
{
    static Configuration configuration;
    return configuration;
}

qv::manager::ManagerRequest Request(std::shared_ptr<qv::config::ConfigStore> store)
{
    qv::manager::ManagerRequest request;
    request.oPersonalStore = std::move(store);
    request.sPersonalFilePath = Large().path;
    return request;
}

// Closing a window is no part of opening one: the manager writes its
// placement to the registry files then, which waits for the disk. The
// change stamps the window reads on the pool after it shows are waited
// for here too, so that no run's background work falls into the next.
template<typename Window>
void CloseUntimed(benchmark::State &state, std::unique_ptr<Window> &window)
{
    state.PauseTiming();
    QThreadPool::globalInstance()->waitForDone();
    window.reset();
    state.ResumeTiming();
}

// The window opened on a store already read, shown and painted. DVUser
// reads the change stamps beside the file, so they are read with it here.
void BM_ManagerShowsDataViews(benchmark::State &state)
{
    auto store = Large().Open();
    for (auto _ : state) {
        state.PauseTiming();
        qv::manager::ManagerRequest request = Request(store);
        request.oStamps = qv::manager::ManagerState::StartReadingChangeStamps();
        request.oStamps.waitForFinished();
        state.ResumeTiming();
        auto form = std::make_unique<qv::frmMain>();
        form->ShowSmartTagView(request);
        form->repaint();
        CloseUntimed(state, form);
    }
}
BENCHMARK(BM_ManagerShowsDataViews)->Unit(benchmark::kMillisecond);

void BM_TreeWidgetBaseline(benchmark::State &state)
{
    // The same texts, taken before the clock starts.
    auto store = Large().Open();
    QList<QStringList> rows;
    for (const auto &view : store->DataViewCollection())
        rows << QStringList{view->Name, view->Source.TypeName};
    for (auto _ : state) {
        // Bare: Qt's defaults, only the columns named and the list sorted by name.
        auto tree = std::make_unique<QTreeWidget>();
        tree->setHeaderLabels({QStringLiteral("Name"), QStringLiteral("Type")});
        tree->resize(667, 433);
        QList<QTreeWidgetItem *> items;
        items.reserve(rows.size());
        for (const QStringList &row : rows)
            items << new QTreeWidgetItem(row);
        tree->addTopLevelItems(items);
        tree->sortItems(0, Qt::AscendingOrder);
        tree->show();
        tree->repaint();
        CloseUntimed(state, tree);
    }
}
BENCHMARK(BM_TreeWidgetBaseline)->Unit(benchmark::kMillisecond);

// Reading the file, which both of the next two include.
void BM_ReadConfiguration(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(Large().Open());
}
BENCHMARK(BM_ReadConfiguration)->Unit(benchmark::kMillisecond)->MinTime(3.0);

// Opening afresh as DVUser does: the stamps read beside the file, the
// window made, shown and painted.
void BM_FreshOpen(benchmark::State &state)
{
    for (auto _ : state) {
        auto stamps = qv::manager::ManagerState::StartReadingChangeStamps();
        qv::manager::ManagerRequest request = Request(Large().Open());
        request.oStamps = stamps;
        auto form = std::make_unique<qv::frmMain>();
        form->ShowSmartTagView(request);
        form->repaint();
        CloseUntimed(state, form);
    }
}
BENCHMARK(BM_FreshOpen)->Unit(benchmark::kMillisecond)->MinTime(3.0);

// Another program saves the file; the clock runs from the end of the save
// until the open window has read it again and shows it.
void BM_AbsorbOutsideSave(benchmark::State &state)
{
    qv::frmMain form;
    form.ShowSmartTagView(Request(Large().Open()));
    auto other = Large().Open();
    QEventLoop loop;
    QObject::connect(&form, &qv::frmMain::OutsideChangesShown, &loop, &QEventLoop::quit);
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, &loop, [&loop] { loop.exit(1); });
    int round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        other->DataViewCollection().AddBlank()->Name = QStringLiteral("Saved elsewhere %1").arg(++round);
        other->Save();
        // The window hears of the save only once its event loop runs.
        state.ResumeTiming();
        guard.start(30000);
        if (loop.exec() != 0) {
            state.SkipWithError("the window did not take the save in");
            break;
        }
        form.repaint();
    }
}
BENCHMARK(BM_AbsorbOutsideSave)->Unit(benchmark::kMillisecond)->MinTime(3.0);

const bool kShowGoal = qv::bench::AddRatioGoal({"manager opens on 5000 data views vs QTreeWidget",
                                                "BM_ManagerShowsDataViews", "BM_TreeWidgetBaseline", 1.5});
const bool kAbsorbGoal = qv::bench::AddRatioGoal(
    {"manager absorbs an outside save of 5000 data views vs a fresh open", "BM_AbsorbOutsideSave", "BM_FreshOpen", 1.5});
const bool kReadFigure = qv::bench::AddFigure("read the 5000-view configuration", "BM_ReadConfiguration");

} // namespace
